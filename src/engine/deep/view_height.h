#pragma once
// A record's heights at any depth. Each double field (height, shownHeight,
// returnHeight) holds the rounding of its precise form, which counts while it
// does (plot_record.h); below the doubles' range the field is 0 or a
// subnormal and only the precise form tells the height.

#include <cstddef>

#include "engine/deep/real.h"
#include "engine/plot_record.h"

DeepReal HeightOf(const PlotRecord& record);
DeepReal ShownHeightOf(const PlotRecord& record);
DeepReal ReturnHeightOf(const PlotRecord& record);

// Sets the precise form and its rounding as the double field.
void SetHeight(PlotRecord& record, const DeepReal& height);

// shownHeight (or returnHeight) becomes the height, precise form and all.
void ShowHeight(PlotRecord& record);
void RememberReturnHeight(PlotRecord& record);

// A height given as text: the double field as the runtime converts it
// (strtod), the precise form from every digit. Within the normal doubles the
// field stays the runtime's value, so a text reads as it always has; below
// them the field is the precise form's rounding.
void SetHeightFromText(const char* text, double& field, PreciseCoordinate& precise);

// The height as the parameter text carries it: printf's "%.15g" of the double
// field while that is a normal double, the same form from the precise form
// below (an exponent of as many digits as it takes). Returns the length, or 0
// when out is too small.
size_t FormatHeight(double field, const PreciseCoordinate& precise, char* out, size_t size);

// The height as titles show it: printf's "%g" (6 significant digits) of a
// normal double, the same form from the precise form below.
size_t FormatShortHeight(double field, const PreciseCoordinate& precise, char* out, size_t size);

// The height rounded to the 15 significant digits it is carried with:
// through FormatHeight and SetHeightFromText, as a text read back gives it.
void RoundHeightTo15Digits(const DeepReal& value, double& field, PreciseCoordinate& precise);
