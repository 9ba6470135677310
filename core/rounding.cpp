#include "core/rounding.h"

#include <cmath>
#include <cstdlib>

namespace morvela {

int64_t RoundHalfEven(double x) {
  // std::nearbyint honours the current rounding mode, which is round-to-nearest-even unless
  // somebody changed it; compute the tie explicitly so the result never depends on that.
  double fl = std::floor(x);
  double diff = x - fl;
  if (diff < 0.5) return static_cast<int64_t>(fl);
  if (diff > 0.5) return static_cast<int64_t>(fl) + 1;
  int64_t f = static_cast<int64_t>(fl);
  return (f % 2 == 0) ? f : f + 1;
}

int64_t RoundRatioHalfEven(int64_t num, int64_t den) {
  if (den < 0) {
    num = -num;
    den = -den;
  }
  // Floor division, then compare twice the remainder with the divisor.
  int64_t q = num / den;
  int64_t r = num % den;
  if (r < 0) {
    q -= 1;
    r += den;
  }
  int64_t twice = 2 * r;
  if (twice < den) return q;
  if (twice > den) return q + 1;
  return (q % 2 == 0) ? q : q + 1;
}

}  // namespace morvela
