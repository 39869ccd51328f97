// The global rank envelope test by extreme rank length, after Myllymäki,
// Mrkvička, Grabarnik, Seijo and Hahn (2017) and the definitions of the R
// package GET (forder "erl", central_region type "erl", two-sided).
#include "results/global_envelope.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <numeric>

#include "results/number_format.h"

namespace qlor {

namespace {

std::size_t n_distances(const CurveSet& curves) {
  return curves.empty() ? 0 : curves.front().size();
}

// The order of the curves by their sorted rank vectors, most extreme
// first, and each curve's vector.
struct LexOrder {
  CurveSet sorted;
  std::vector<std::size_t> order;
};

LexOrder lexicographic_order(const CurveSet& ranks) {
  LexOrder lex;
  lex.sorted = ranks;
  for (auto& r : lex.sorted) std::sort(r.begin(), r.end());
  lex.order.resize(ranks.size());
  std::iota(lex.order.begin(), lex.order.end(), std::size_t{0});
  std::stable_sort(lex.order.begin(), lex.order.end(),
                   [&](std::size_t a, std::size_t b) {
                     return lex.sorted[a] < lex.sorted[b];
                   });
  return lex;
}

// Calls f(first, end) for each run [first, end) of `order` whose members
// are equal by `same`.
template <class Same, class F>
void for_each_tie_run(const std::vector<std::size_t>& order, Same same, F f) {
  std::size_t first = 0;
  for (std::size_t e = 1; e <= order.size(); ++e) {
    if (e == order.size() || !same(order[first], order[e])) {
      f(first, e);
      first = e;
    }
  }
}

// Without ties a rejected curve always leaves the band: where it has its
// most extreme rank, a kept curve at or beyond it would be more extreme.
// With ties a kept curve may share that value, and the observed curve
// only reaches the edge there. These are the points reported.
std::vector<std::size_t> touching_points(const GlobalEnvelope& g,
                                         const std::vector<double>& observed,
                                         const std::vector<double>& ranks) {
  std::vector<std::size_t> points;
  if (ranks.empty()) return points;
  const double most = *std::min_element(ranks.begin(), ranks.end());
  for (std::size_t k = 0; k < ranks.size(); ++k) {
    if (ranks[k] == most &&
        (observed[k] == g.lower[k] || observed[k] == g.upper[k])) {
      points.push_back(k);
    }
  }
  return points;
}

std::string format_short(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

}  // namespace

CurveSet two_sided_ranks(const CurveSet& curves) {
  const std::size_t n = curves.size();
  const std::size_t nt = n_distances(curves);
  CurveSet ranks(n, std::vector<double>(nt));
  std::vector<std::size_t> order(n);
  const double n_plus_1 = static_cast<double>(n) + 1;
  for (std::size_t k = 0; k < nt; ++k) {
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      return curves[a][k] < curves[b][k];
    });
    // Positions first + 1 ... end share their mean rank (first + 1 + end) / 2.
    for_each_tie_run(
        order,
        [&](std::size_t a, std::size_t b) {
          return curves[a][k] == curves[b][k];
        },
        [&](std::size_t first, std::size_t end) {
          const double lo = static_cast<double>(first + 1 + end) / 2;
          const double rank = std::min(lo, n_plus_1 - lo);
          for (std::size_t j = first; j < end; ++j) ranks[order[j]][k] = rank;
        });
  }
  return ranks;
}

std::vector<double> erl_ranks(const CurveSet& ranks) {
  const LexOrder lex = lexicographic_order(ranks);
  std::vector<double> erl(ranks.size());
  for_each_tie_run(
      lex.order,
      [&](std::size_t a, std::size_t b) {
        return lex.sorted[a] == lex.sorted[b];
      },
      [&](std::size_t first, std::size_t end) {
        const double mean = static_cast<double>(first + 1 + end) / 2;
        for (std::size_t j = first; j < end; ++j) erl[lex.order[j]] = mean;
      });
  return erl;
}

std::vector<std::int64_t> at_least_as_extreme(const CurveSet& ranks) {
  const LexOrder lex = lexicographic_order(ranks);
  std::vector<std::int64_t> count(ranks.size());
  // A tie run ending at position `end` has `end` curves at most as large.
  for_each_tie_run(
      lex.order,
      [&](std::size_t a, std::size_t b) {
        return lex.sorted[a] == lex.sorted[b];
      },
      [&](std::size_t first, std::size_t end) {
        for (std::size_t j = first; j < end; ++j) {
          count[lex.order[j]] = static_cast<std::int64_t>(end);
        }
      });
  return count;
}

GlobalEnvelope global_envelope(const CurveSet& curves, double alpha) {
  assert(!curves.empty() && alpha > 0 && alpha < 1);
  GlobalEnvelope g;
  g.alpha = alpha;
  g.n_curves = static_cast<std::int64_t>(curves.size());
  const CurveSet ranks = two_sided_ranks(curves);
  const auto count = at_least_as_extreme(ranks);
  const double n = static_cast<double>(g.n_curves);
  // 1. The observed curve's p-value, as GET's conservative ERL p-value:
  //    the share of curves whose ERL measure is at most its own.
  g.rank = count.front();
  g.p_value = static_cast<double>(g.rank) / n;
  // 2. The envelope spans the curves that the test would not reject at
  //    alpha, with the very same comparison as for the observed curve, so
  //    that the observed curve leaves the band exactly when p <= alpha.
  //    GET keeps the curves from the floor((1 - alpha) N)-th largest ERL
  //    measure on; both agree when alpha N is whole. Otherwise GET drops
  //    ceil(alpha N) curves and its band can exclude a curve with p up to
  //    ceil(alpha N) / N > alpha; QLOR drops floor(alpha N) and keeps the
  //    equivalence. Where alpha N < 1 GET refuses; QLOR keeps every curve
  //    and says so in a note.
  const std::size_t nt = n_distances(curves);
  g.lower.assign(nt, 0);
  g.upper.assign(nt, 0);
  bool first = true;
  for (std::size_t i = 0; i < curves.size(); ++i) {
    if (static_cast<double>(count[i]) / n <= alpha) continue;
    ++g.n_kept;
    for (std::size_t k = 0; k < nt; ++k) {
      const double v = curves[i][k];
      g.lower[k] = first ? v : std::min(g.lower[k], v);
      g.upper[k] = first ? v : std::max(g.upper[k], v);
    }
    first = false;
  }
  // The least extreme curves always have p = 1 > alpha: the band is never
  // empty.
  assert(g.n_kept > 0);
  g.outside = outside_ranges(g.lower, g.upper, curves.front());
  if (g.outside.empty() && g.p_value <= alpha) {
    g.touching = touching_points(g, curves.front(), ranks.front());
  }
  return g;
}

std::vector<OutsideRange> outside_ranges(const std::vector<double>& lower,
                                         const std::vector<double>& upper,
                                         const std::vector<double>& observed) {
  std::vector<OutsideRange> ranges;
  const std::size_t nt =
      std::min({lower.size(), upper.size(), observed.size()});
  for (std::size_t k = 0; k < nt; ++k) {
    const bool above = observed[k] > upper[k];
    if (!above && !(observed[k] < lower[k])) continue;
    if (!ranges.empty() && ranges.back().last + 1 == k &&
        ranges.back().above == above) {
      ranges.back().last = k;
    } else {
      ranges.push_back({k, k, above});
    }
  }
  return ranges;
}

std::string format_global_outcome(const GlobalEnvelope& g) {
  char p[32];
  std::snprintf(p, sizeof p, "%.4g", g.p_value);
  const std::int64_t n_sims = g.n_curves - 1;
  return std::string("Global envelope test (extreme rank length): p = ") + p +
         " (" + std::to_string(n_sims) +
         (n_sims == 1 ? " simulation)" : " simulations)");
}

std::string format_outside(const std::vector<double>& t,
                           const GlobalEnvelope& g) {
  const std::vector<OutsideRange>& r = g.outside;
  if (r.empty() && !g.touching.empty()) {
    std::string text =
        "outside at no t, rejected through tied values: the observed curve "
        "lies on the envelope's edge at t = ";
    for (std::size_t j = 0; j < g.touching.size(); ++j) {
      if (j > 0) text += ", ";
      text += format_short(t[g.touching[j]]);
    }
    return text;
  }
  if (r.empty()) {
    return "inside the " + format_short(100 * (1 - g.alpha)) +
           " % global envelope at every t";
  }
  std::string text = "outside at t = ";
  for (std::size_t j = 0; j < r.size(); ++j) {
    if (j > 0) text += ", ";
    text += format_short(t[r[j].first]);
    if (r[j].last != r[j].first) text += " - " + format_short(t[r[j].last]);
    text += r[j].above ? " (above)" : " (below)";
  }
  return text;
}

std::int64_t advised_simulations(double alpha) {
  // 125 curves beyond the envelope, as 2500 curves give at alpha = 0.05;
  // the small slack absorbs the rounding of alpha's binary value.
  return static_cast<std::int64_t>(std::ceil(125 / alpha - 1e-6)) - 1;
}

std::string few_simulations_note(const GlobalEnvelope& g) {
  const std::int64_t n_sims = g.n_curves - 1;
  const std::int64_t advised = advised_simulations(g.alpha);
  const std::string level = format_short(100 * (1 - g.alpha)) + " %";
  if (g.n_kept == g.n_curves) {
    return "note: with " + std::to_string(n_sims) +
           " simulations no curve is extreme enough to fall outside the " +
           level + " envelope: it spans every curve (at least " +
           std::to_string(advised) + " simulations are advised)";
  }
  if (n_sims >= advised) return {};
  return "note: " + std::to_string(n_sims) + " simulations are few for the " +
         level + " global envelope (at least " + std::to_string(advised) +
         " are advised); the p-value is valid with fewer";
}

std::string global_envelope_csv(const std::vector<double>& t,
                                const GlobalEnvelope& g,
                                const std::vector<double>& observed) {
  std::string csv = "t,lower,upper,observed\n";
  for (std::size_t k = 0; k < t.size(); ++k) {
    append_g(csv, t[k]);
    for (double v : {g.lower[k], g.upper[k], observed[k]}) {
      csv += ',';
      append_g(csv, v);
    }
    csv += '\n';
  }
  return csv;
}

}  // namespace qlor
