// QLOR's core for R: a run in memory from points and choices that the R
// functions have checked and coded as numbers, its curves and envelopes
// handed back as plain vectors and matrices. Errors come back as the
// console's message text; nothing here throws across the core.
#include <R_ext/Utils.h>
#include <Rcpp.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/app_context.h"
#include "analysis/memory_run.h"
#include "model/clock.h"
#include "platform/platform.h"
#include "results/global_envelope.h"
#include "results/significance_tests.h"
#include "results/test_outcome.h"

namespace {

using qlor::Status;

// Nothing of a run in memory asks the user or shows anything; a message
// the core would show goes to R's console.
class RPlatform final : public qlor::Platform {
 public:
  qlor::Answer message_box(std::string_view text, qlor::Buttons,
                           qlor::Icon) override {
    Rcpp::Rcerr << std::string(text) << '\n';
    return qlor::Answer::kOk;
  }
  std::optional<qlor::ChosenFile> open_file_dialog(std::string_view,
                                                   std::string_view) override {
    return std::nullopt;
  }
  std::unique_ptr<qlor::ProgressDialog> create_progress_dialog(bool) override {
    return nullptr;
  }
  void set_window_title(std::string_view) override {}
  void show_text(const std::vector<std::string>&) override {}
};

// R_CheckUserInterrupt jumps out of whatever calls it: run inside
// R_ToplevelExec, the jump ends there and reports the interrupt as FALSE.
void check_interrupt(void*) { R_CheckUserInterrupt(); }

bool interrupted() { return R_ToplevelExec(check_interrupt, nullptr) == FALSE; }

Rcpp::NumericMatrix as_matrix(const qlor::CurveSet& curves) {
  const auto rows = static_cast<int>(curves.size());
  const int cols = rows > 0 ? static_cast<int>(curves[0].size()) : 0;
  Rcpp::NumericMatrix m(rows, cols);
  for (int s = 0; s < rows; ++s) {
    for (int i = 0; i < cols; ++i) {
      m(s, i) =
          curves[static_cast<std::size_t>(s)][static_cast<std::size_t>(i)];
    }
  }
  return m;
}

// A matrix of curves (rows, the observed first) as the core holds them.
qlor::CurveSet as_curves(const Rcpp::NumericMatrix& patterns) {
  qlor::CurveSet curves(static_cast<std::size_t>(patterns.nrow()));
  for (int s = 0; s < patterns.nrow(); ++s) {
    for (int i = 0; i < patterns.ncol(); ++i) {
      curves[static_cast<std::size_t>(s)].push_back(patterns(s, i));
    }
  }
  return curves;
}

}  // namespace

// One run. `choices` holds the coded choices (see R/run.R, the one place
// that codes them); `numbers` the plot, distances and model parameters.
// [[Rcpp::export(.qlor_run)]]
Rcpp::List qlor_run(Rcpp::NumericVector x, Rcpp::NumericVector y,
                    Rcpp::IntegerVector species, Rcpp::List numbers,
                    Rcpp::List choices, Rcpp::Function progress) {
  qlor::RunParameters p;
  p.x_axis = Rcpp::as<double>(numbers["xmax"]);
  p.y_axis = Rcpp::as<double>(numbers["ymax"]);
  p.t_min = Rcpp::as<double>(numbers["t_min"]);
  p.t_interval = Rcpp::as<double>(numbers["t_interval"]);
  p.t_max = Rcpp::as<double>(numbers["t_max"]);
  p.n_simulations = Rcpp::as<int>(numbers["nsim"]);
  p.radius = Rcpp::as<double>(numbers["radius"]);
  p.c = Rcpp::as<double>(numbers["c"]);
  p.n_centers = Rcpp::as<int>(numbers["centres"]);
  p.process_type =
      static_cast<qlor::ProcessType>(Rcpp::as<int>(choices["process"]));
  const bool bivariate = species.size() > 0;
  p.analysis_type = bivariate ? qlor::AnalysisType::kBivariate
                              : qlor::AnalysisType::kUnivariate;
  std::vector<qlor::PointRecord> points(static_cast<std::size_t>(x.size()));
  for (R_xlen_t i = 0; i < x.size(); ++i) {
    points[static_cast<std::size_t>(i)] = {x[i], y[i],
                                           bivariate ? species[i] : 0};
  }

  const double seed = Rcpp::as<double>(numbers["seed"]);
  const qlor::FixedClock fixed(static_cast<std::int64_t>(seed));
  const qlor::SystemClock system;
  const bool seeded = !Rcpp::NumericVector::is_na(seed);
  RPlatform platform;
  qlor::AppContext ctx(platform, seeded
                                     ? static_cast<const qlor::Clock&>(fixed)
                                     : static_cast<const qlor::Clock&>(system));
  qlor::RunSettings& s = ctx.settings;
  s.function =
      static_cast<qlor::FunctionKind>(Rcpp::as<int>(choices["function"]));
  s.null_model = static_cast<qlor::NullKind>(Rcpp::as<int>(choices["null"]));
  s.pairs = static_cast<qlor::PairSet>(Rcpp::as<int>(choices["pairs"]));
  s.estimator =
      static_cast<qlor::PcfEstimator>(Rcpp::as<int>(choices["estimator"]));
  s.randomize_mode =
      static_cast<qlor::RandomizeMode>(Rcpp::as<int>(choices["randomize"]));
  s.generator =
      static_cast<qlor::GeneratorKind>(Rcpp::as<int>(choices["generator"]));
  s.bandwidth = Rcpp::as<double>(numbers["bandwidth"]);
  s.intensity.source =
      static_cast<qlor::IntensitySource>(Rcpp::as<int>(choices["intensity"]));
  s.intensity.sigma = Rcpp::as<double>(numbers["sigma"]);
  s.intensity.path = Rcpp::as<std::string>(choices["intensity_path"]);
  s.threads = Rcpp::as<int>(numbers["threads"]);
  s.seed_fixed = seeded;

  const bool show_progress = Rcpp::as<bool>(choices["progress"]);
  bool stopped = false;
  std::string progress_error;
  qlor::MemoryRun run;
  qlor::MemoryRunOptions options;
  options.observed_only = Rcpp::as<bool>(choices["observed_only"]);
  options.check = [&](std::int32_t kept) -> Status {
    if (interrupted()) {
      stopped = true;
      return Status("interrupted");
    }
    if (show_progress) {
      try {
        progress(kept);
      } catch (const std::exception& e) {
        progress_error = e.what();
        return Status(progress_error);
      }
    }
    return {};
  };
  const Status status = qlor::run_in_memory(ctx, p, points, run, options);
  if (stopped) return Rcpp::List::create(Rcpp::Named("interrupted") = true);
  if (!status.ok()) {
    return Rcpp::List::create(Rcpp::Named("error") = status.text());
  }
  Rcpp::List curves;
  for (std::size_t k = 0; k < run.curves.size(); ++k) {
    qlor::ResultEnvelopes e;
    if (auto st = qlor::memory_envelopes(run, k, e); !st.ok()) {
      return Rcpp::List::create(Rcpp::Named("error") = st.text());
    }
    curves.push_back(Rcpp::List::create(
        Rcpp::Named("suffix") = run.suffixes[k],
        Rcpp::Named("patterns") = as_matrix(run.curves[k]),
        Rcpp::Named("observed_exact") = Rcpp::wrap(run.observed_exact[k]),
        Rcpp::Named("lo") = Rcpp::wrap(e.lower),
        Rcpp::Named("hi") = Rcpp::wrap(e.upper)));
  }
  return Rcpp::List::create(
      Rcpp::Named("t") = Rcpp::wrap(run.t), Rcpp::Named("curves") = curves,
      Rcpp::Named("csr_value") = run.csr_value,
      Rcpp::Named("axis_label") = run.axis_label,
      Rcpp::Named("seed") = static_cast<double>(run.seed.seed),
      Rcpp::Named("n_simulations") = run.parameters.n_simulations);
}

// The supremum (kind 0) or Cramer-von Mises (kind 1) test of a run's
// patterns (rows, the observed first) about the CSR value (centre 0) or the
// simulated mean (centre 1): every statistic, the observed one's rank and p.
// [[Rcpp::export(.qlor_test)]]
Rcpp::List qlor_test(Rcpp::NumericMatrix patterns, Rcpp::NumericVector t,
                     int kind, int centre, double csr_value,
                     double t_interval) {
  qlor::RunParameters p;
  p.n_simulations = patterns.nrow() - 1;
  p.last_interval = patterns.ncol() - 1;
  p.t_interval = t_interval;
  p.t_min_steps = static_cast<std::int32_t>(std::lround(t[0] / t_interval));
  const qlor::CurveSet curves = as_curves(patterns);
  std::vector<double> statistics;
  const Status st = qlor::test_statistics(
      p, qlor::MemoryCurves(curves),
      kind == 0 ? qlor::TestKind::kSupremum : qlor::TestKind::kCramerVonMises,
      static_cast<qlor::TestCentre>(centre), csr_value, statistics);
  if (!st.ok()) Rcpp::stop(st.text());
  const qlor::TestOutcome outcome = qlor::rank_observed(statistics);
  return Rcpp::List::create(
      Rcpp::Named("statistics") = Rcpp::wrap(statistics),
      Rcpp::Named("rank") = static_cast<double>(outcome.rank),
      Rcpp::Named("p") = outcome.p_value);
}

// The global envelope test of a run's patterns (rows, the observed first):
// the ERL p-value and band at level alpha.
// [[Rcpp::export(.qlor_global)]]
Rcpp::List qlor_global(Rcpp::NumericMatrix patterns, double alpha) {
  const qlor::CurveSet curves = as_curves(patterns);
  const qlor::GlobalEnvelope g = qlor::global_envelope(curves, alpha);
  return Rcpp::List::create(Rcpp::Named("p") = g.p_value,
                            Rcpp::Named("lo") = Rcpp::wrap(g.lower),
                            Rcpp::Named("hi") = Rcpp::wrap(g.upper));
}
