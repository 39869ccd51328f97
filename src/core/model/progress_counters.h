// How far a run and a batch have come, in i-j calculations: one ordered
// pair of points examined at one distance.
#pragma once

namespace qlor {

/// The progress counters of a run, in i-j calculations.
struct ProgressCounters {
  double pairs_total_file = 0;
  double pairs_done_file = 0;
  double pairs_done_before = 0;
  double pairs_done_all = 0;
  double pairs_total_batch = 0;
};

}  // namespace qlor
