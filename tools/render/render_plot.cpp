#include "render_plot.h"

#include "engine/integer_plotters.h"
#include "engine/plotters.h"

int RenderPlot(UiHost& host, PlotRecord& record, const RenderOptions&) {
  const bool julia = (record.flags & kFlagJulia) != 0;
  if ((record.flags & kFlagInteger) != 0) {
    return julia ? PlotJuliaInteger(host, record) : PlotMandelbrotInteger(host, record);
  }
  return julia ? PlotJulia(host, record) : PlotMandelbrot(host, record);
}
