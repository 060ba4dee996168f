#include "render_plot.h"

#include <cstdio>

#include "engine/run_plot.h"

// The fast plotters give exactly the reference's counts; --reference runs the
// plain single-thread plotters instead.
int RenderPlot(UiHost& host, PlotRecord& record, const RenderOptions& options) {
  PlotOptions plot;
  plot.threads = options.threads;
  plot.useReference = options.reference;
  return RunPlot(host, record, plot);
}

std::string ArithmeticReport(const PlotRecord& record) {
  char text[96];
  switch (record.plottedArithmetic) {
    case kPlottedInteger:
      return "computed with 32-bit integer arithmetic";
    case kPlottedDeep:
      std::snprintf(text, sizeof text, "computed with the deep arithmetic, reference %d bits",
                    static_cast<int>(record.referenceBits));
      return text;
    default:
      return "computed with 80-bit real arithmetic";
  }
}
