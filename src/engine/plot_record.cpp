#include "engine/plot_record.h"

void CopyRegion(PlotRecord& destination, const PlotRecord& source) {
  destination.x = source.x;
  destination.y = source.y;
  destination.preciseX = source.preciseX;
  destination.preciseY = source.preciseY;
  destination.height = source.height;
  destination.shownHeight = source.shownHeight;
  destination.preciseHeight = source.preciseHeight;
  destination.preciseShownHeight = source.preciseShownHeight;
}

void ResetView(PlotRecord& record) {
  record.colourMethod = 1;
  record.lower = 0;
  record.upper = 0;
  record.limit = 100;
  record.x = -2;
  record.y = -2;
  record.height = 4;
  record.juliaR = 0;
  record.juliaI = 0;
  record.shownHeight = 4;
  record.preciseX = record.preciseY = PreciseFromLongDouble(record.x);
  record.preciseJuliaR = record.preciseJuliaI = PreciseFromLongDouble(record.juliaR);
  record.preciseHeight = record.preciseShownHeight = PreciseFromLongDouble(record.height);
}
