// How close QLOR's arc cosine (fixed_acos, the estimators') and the C
// library's come to the correctly rounded values, against MPFR: N random
// arguments in [0, 1] (the edge weights' range; 10^8 by default) and every
// argument the edge weights of the golden cases' observed patterns meet.
//
// Usage: acos_accuracy [N [GOLDEN_DIR]]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "model/fixed_math.h"
#include "mpfr_reference.h"
#include "statistics/edge_weight.h"

namespace {

namespace fs = std::filesystem;
using qlor::testing::AcosCheck;

struct Point {
  double x, y;
};

// The arguments of the edge weights of every ordered pair within t_max of
// one sample data file.
void golden_arguments(const fs::path& dat, std::vector<double>& out) {
  std::ifstream in(dat);
  std::string line;
  if (!std::getline(in, line)) return;
  std::istringstream header(line);
  double x_axis = 0, y_axis = 0, t_min = 0, t_interval = 0, t_max = 0;
  if (!(header >> x_axis >> y_axis >> t_min >> t_interval >> t_max)) return;
  std::vector<Point> points;
  while (std::getline(in, line)) {
    std::istringstream record(line);
    Point p{};
    if (record >> p.x >> p.y) points.push_back(p);
  }
  for (const Point& j : points) {
    for (const Point& k : points) {
      const double dx = k.x - j.x;
      const double dy = k.y - j.y;
      const double d = std::sqrt(dx * dx + dy * dy);
      if (d == 0 || d > t_max) continue;
      const qlor::EdgeAnalysis e =
          qlor::analyse_edges(x_axis, y_axis, j.x, j.y, d);
      // A sample a run refuses (points outside its plot) gives arguments
      // beyond [-1, 1]: left out.
      for (int m = 0; m < 4; ++m) {
        if ((e.a[m] != 0 || e.e[m] != 0) && std::fabs(e.e[m]) <= 1) {
          out.push_back(e.e[m]);
        }
      }
    }
  }
}

double fixed(double x) { return qlor::fixed_acos(x); }
double libm(double x) { return std::acos(x); }

// Checks the two functions on `arguments` with two threads.
void report(const char* what, const std::vector<double>& arguments) {
  const std::size_t half = arguments.size() / 2;
  const std::span<const double> all(arguments);
  double (*const functions[])(double) = {fixed, libm};
  const char* const names[] = {"fixed_acos", "libm acos"};
  AcosCheck checks[2][2];
  auto check_part = [&](int part) {
    const auto some = part == 0 ? all.first(half) : all.subspan(half);
    for (int f = 0; f < 2; ++f) {
      checks[f][part] = qlor::testing::check_acos(some, functions[f]);
    }
  };
  std::thread second(check_part, 1);
  check_part(0);
  second.join();
  for (int f = 0; f < 2; ++f) {
    checks[f][0].merge(checks[f][1]);
    const AcosCheck& c = checks[f][0];
    std::printf(
        "%-28s %-22s %12lld arguments, %.6f %% correctly rounded, worst "
        "%.4f ulp (at %.17g)\n",
        what, names[f], static_cast<long long>(c.count),
        100.0 * c.rounded_share(), c.worst_ulps, c.worst_at);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const long long n = argc > 1 ? std::atoll(argv[1]) : 100000000LL;
  std::vector<double> arguments;
  arguments.reserve(static_cast<std::size_t>(n));
  std::mt19937_64 gen(20261211);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  for (long long i = 0; i < n; ++i) arguments.push_back(u(gen));
  report("random in [0, 1]", arguments);
  if (argc > 2) {
    std::vector<double> golden;
    for (const auto& entry : fs::recursive_directory_iterator(argv[2])) {
      if (entry.path().extension() == ".dat") {
        golden_arguments(entry.path(), golden);
      }
    }
    report("golden cases' edge weights", golden);
  }
  return 0;
}
