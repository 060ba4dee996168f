#pragma once
// What the workers of a deep plot read, prepared on the calling thread: the
// reference (reference.h), its approximation tables and the pixels'
// offsets, for a reference pixel chosen for the view.

#include <cstdint>
#include <memory>

#include "engine/deep/bla.h"
#include "engine/deep/reference.h"
#include "engine/deep/rows.h"
#include "engine/plot_record.h"
#include "engine/ui_host.h"

struct DeepPlan {
  DeepReference reference;
  BlaTable startTable;
  BlaTable criticalTable;
  DeepRowsSetup setup;  // points into the members above
  unsigned bits = 0;    // the tier the reference was computed at
};

// Prepares the plan of the record's plot at the deep tier of at least `bits`,
// or a higher one when the reference orbit ends otherwise (escape, or cycle
// period) at the tier above (then the same check there, and so on).
// The reference is the centre pixel, or for the Mandelbrot set, when the
// centre's orbit escapes before the limit, the pixel of a coarse grid that
// lives longest. Its orbits hold at most mostOrbitPoints points (0: as many
// as the memory set aside for them holds; fewer when memory is short), its
// skip tables as many as memory allows. Takes messages meanwhile; returns 0,
// a stop code (105, 121), or kReferenceNoMemory.
int PrepareDeepPlan(UiHost& host, const PlotRecord& record, unsigned bits, uint32_t limit,
                    std::unique_ptr<DeepPlan>* plan, uint32_t mostOrbitPoints = 0);

// The most points a reference orbit of the record's plot holds within the
// memory set aside for the orbits and their skip tables.
uint32_t MostOrbitPoints(const PlotRecord& record);

// Builds the plan's skip tables for `orbits` and the setup its workers read:
// the pixels follow those orbits from the offsets in plan->reference. A
// table that memory could not hold is none, and the pixels then take every
// step. `orbits` may be plan->reference itself or orbits shared by several
// plans, which must outlive the plan.
void SetUpDeepPlan(const PlotRecord& record, const DeepReference& orbits, uint32_t limit,
                   DeepPlan* plan);
