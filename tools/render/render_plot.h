#pragma once
// The plotter zirn-render runs for a record, by its flags and the options.

#include <string>

#include "engine/plot_record.h"
#include "engine/ui_host.h"
#include "render_options.h"

int RenderPlot(UiHost& host, PlotRecord& record, const RenderOptions& options);

// Which arithmetic computed the record's counts, for standard error:
// "computed with ... arithmetic".
std::string ArithmeticReport(const PlotRecord& record);
