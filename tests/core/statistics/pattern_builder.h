// Small patterns for the estimator tests.
#pragma once

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "model/analysis_state.h"

namespace qlor::testing {

/// A pattern in an x_axis by y_axis plot, analysed at t = step, 2 step, ..
/// (last_interval + 1) step, with the arrays of the direction setting.
inline AnalysisState make_pattern(std::vector<PointRecord> points,
                                  bool bivariate, int direction = 0,
                                  double x_axis = 100, double y_axis = 100,
                                  double step = 0.5, int last_interval = 2) {
  AnalysisState state;
  state.x_axis = x_axis;
  state.y_axis = y_axis;
  state.t_interval = step;
  state.t_min_steps = 1;
  state.last_interval = last_interval;
  state.analysis_type =
      bivariate ? AnalysisType::kBivariate : AnalysisType::kUnivariate;
  state.n_points = static_cast<std::int32_t>(points.size());
  for (const PointRecord& p : points) {
    ++(p.species == 0 ? state.n_species1 : state.n_species2);
  }
  state.points = std::move(points);
  EXPECT_EQ(allocate_result_arrays(state, static_cast<Direction>(direction)),
            "");
  return state;
}

/// n points uniform in the plot, labelled at random when bivariate.
inline std::vector<PointRecord> random_points(int n, double x_axis,
                                              double y_axis, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> ux(0, x_axis), uy(0, y_axis);
  std::vector<PointRecord> points;
  for (int i = 0; i < n; ++i) {
    const double x = ux(gen);
    const double y = uy(gen);
    points.push_back({x, y, static_cast<std::int32_t>(gen() & 1)});
  }
  return points;
}

}  // namespace qlor::testing
