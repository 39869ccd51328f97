// Placeholder until the directional estimators land.
#include "statistics/kl_directional.h"

namespace qlor {

void compute_kl_cardinal(AnalysisState&, PairScratch&) {}
void compute_kl_diagonal(AnalysisState&, PairScratch&) {}
void compute_kl_half_planes(AnalysisState&, PairScratch&) {}

}  // namespace qlor
