#include "render_plot.h"

#include "engine/fast_plotters.h"

// The fast plotters give exactly the reference's counts; --reference runs the
// plain single-thread plotters instead.
int RenderPlot(UiHost& host, PlotRecord& record, const RenderOptions& options) {
  PlotOptions plot;
  plot.threads = options.threads;
  plot.useReference = options.reference;
  return RunPlot(host, record, plot);
}
