// Arc cosines checked against MPFR: the correctly rounded double of each
// argument, from 200 bits, and how far a function's results are from it.
// For the tests and bench/acos_accuracy.
#pragma once

#include <mpfr.h>

#include <cmath>
#include <cstdint>
#include <span>

namespace qlor::testing {

struct AcosCheck {
  std::int64_t count = 0;
  std::int64_t correctly_rounded = 0;
  double worst_ulps = 0;  // |got - exact| in units in the last place
  double worst_at = 0;    // the argument of the worst

  void merge(const AcosCheck& other) {
    count += other.count;
    correctly_rounded += other.correctly_rounded;
    if (other.worst_ulps > worst_ulps) {
      worst_ulps = other.worst_ulps;
      worst_at = other.worst_at;
    }
  }
  [[nodiscard]] double rounded_share() const {
    return count == 0 ? 1.0
                      : static_cast<double>(correctly_rounded) /
                            static_cast<double>(count);
  }
};

/// Checks fn(x) against MPFR's arccos for every x of `arguments`.
template <class Fn>
AcosCheck check_acos(std::span<const double> arguments, Fn fn) {
  AcosCheck check;
  mpfr_t x;
  mpfr_t exact;
  mpfr_t error;
  mpfr_init2(x, 53);
  mpfr_init2(exact, 200);
  mpfr_init2(error, 200);
  for (const double a : arguments) {
    mpfr_set_d(x, a, MPFR_RNDN);
    mpfr_acos(exact, x, MPFR_RNDN);
    const double rounded = mpfr_get_d(exact, MPFR_RNDN);
    const double got = fn(a);
    ++check.count;
    if (got == rounded) {
      ++check.correctly_rounded;
      continue;
    }
    mpfr_set_d(error, got, MPFR_RNDN);
    mpfr_sub(error, error, exact, MPFR_RNDN);
    const double ulp =
        rounded == 0
            ? std::nextafter(0.0, 1.0)
            : std::nextafter(std::fabs(rounded), HUGE_VAL) - std::fabs(rounded);
    const double ulps = std::fabs(mpfr_get_d(error, MPFR_RNDN)) / ulp;
    if (ulps > check.worst_ulps) {
      check.worst_ulps = ulps;
      check.worst_at = a;
    }
  }
  mpfr_clear(x);
  mpfr_clear(exact);
  mpfr_clear(error);
  return check;
}

}  // namespace qlor::testing
