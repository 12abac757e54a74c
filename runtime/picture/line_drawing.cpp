#include "runtime/picture/line_drawing.h"

#include <algorithm>
#include <utility>

namespace rt {
namespace {

using Wide = __int128;

// floor(n / d) for d > 0 (integer division truncates towards zero).
template <class T>
T floor_div(T n, T d) {
  T q = n / d;
  if (n % d != 0 && n < 0) --q;
  return q;
}

// A line walked along its major axis m, from m0 to m0 + dm (dm > 0, |dn| <= dm). The minor
// coordinate at m is the nearest integer to n0 + dn * (m - m0) / dm, halves upwards:
//   minor(m) = n0 + floor((2 dn (m - m0) + dm) / (2 dm)).
// End points lie 2^32 apart at most, so the numerator needs up to 66 bits.
struct Walk {
  std::int64_t m0, n0, dm, dn;

  bool narrow() const { return dm < (std::int64_t{1} << 30); }  // numerator fits 62 bits

  std::int64_t minor(std::int64_t m) const {
    if (narrow()) return n0 + floor_div<std::int64_t>(2 * dn * (m - m0) + dm, 2 * dm);
    return n0 +
           static_cast<std::int64_t>(floor_div<Wide>(Wide{2} * dn * (m - m0) + dm, Wide{2} * dm));
  }
};

// Calls plot(m, n) for the pixels of the walk with 0 <= m < major_size and 0 <= n < minor_size.
template <class Plot>
void walk_visible(const Walk& w, std::int64_t major_size, std::int64_t minor_size, Plot plot) {
  std::int64_t lo = std::max<std::int64_t>(w.m0, 0);
  std::int64_t hi = std::min<std::int64_t>(w.m0 + w.dm, major_size - 1);
  if (lo > hi || minor_size <= 0) return;

  // minor() is monotonic in m, so the visible pixels form one run of m; find its ends by
  // bisection instead of walking the invisible part.
  const auto inside = [&](std::int64_t m) {
    const std::int64_t n = w.minor(m);
    return n >= 0 && n < minor_size;
  };
  if (!inside(lo) || !inside(hi)) {
    // First m in [lo, hi + 1) for which `past` holds; `past` is false, then true.
    const auto first = [&](auto past) {
      std::int64_t a = lo, b = hi + 1;
      while (a < b) {
        const std::int64_t mid = a + (b - a) / 2;
        if (past(mid))
          b = mid;
        else
          a = mid + 1;
      }
      return a;
    };
    std::int64_t run_lo, run_end;
    if (w.dn >= 0) {
      run_lo = first([&](std::int64_t m) { return w.minor(m) >= 0; });
      run_end = first([&](std::int64_t m) { return w.minor(m) >= minor_size; });
    } else {
      run_lo = first([&](std::int64_t m) { return w.minor(m) < minor_size; });
      run_end = first([&](std::int64_t m) { return w.minor(m) < 0; });
    }
    lo = run_lo;
    hi = run_end - 1;
    if (lo > hi) return;
  }

  // Step along the run keeping minor() as quotient and remainder of the numerator by 2 dm;
  // each step adds 2 dn, at most one denominator, so one correction per step suffices.
  const std::int64_t den = 2 * w.dm;
  const std::int64_t step = 2 * w.dn;
  std::int64_t rem, n;
  if (w.narrow()) {  // the usual line: 128-bit division costs more than the short run itself
    const std::int64_t num = 2 * w.dn * (lo - w.m0) + w.dm;
    const std::int64_t q = floor_div<std::int64_t>(num, den);
    rem = num - q * den;
    n = w.n0 + q;
  } else {
    const Wide num = Wide{2} * w.dn * (lo - w.m0) + w.dm;
    const Wide q = floor_div<Wide>(num, Wide{den});
    rem = static_cast<std::int64_t>(num - q * den);
    n = w.n0 + static_cast<std::int64_t>(q);
  }
  for (std::int64_t m = lo; m <= hi; ++m) {
    plot(m, n);
    rem += step;
    if (rem >= den) {
      rem -= den;
      ++n;
    } else if (rem < 0) {
      rem += den;
      --n;
    }
  }
}

}  // namespace

void draw_line(Raster& raster, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
               Colour colour) {
  std::int64_t dx = std::int64_t{x1} - x0;
  std::int64_t dy = std::int64_t{y1} - y0;
  if (dx == 0 && dy == 0) {
    raster.set_pixel(x0, y0, colour);
    return;
  }
  if ((dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy)) {
    if (dx < 0) {
      std::swap(x0, x1);
      std::swap(y0, y1);
      dx = -dx;
      dy = -dy;
    }
    walk_visible(Walk{x0, y0, dx, dy}, raster.width(), raster.height(),
                 [&](std::int64_t x, std::int64_t y) { raster.set_pixel(x, y, colour); });
  } else {
    if (dy < 0) {
      std::swap(x0, x1);
      std::swap(y0, y1);
      dx = -dx;
      dy = -dy;
    }
    walk_visible(Walk{y0, x0, dy, dx}, raster.height(), raster.width(),
                 [&](std::int64_t y, std::int64_t x) { raster.set_pixel(x, y, colour); });
  }
}

bool clip_to_reach(double& x0, double& y0, double& x1, double& y1) {
  const double dx = x1 - x0, dy = y1 - y0;
  // The segment is (x0, y0) + t (dx, dy) for t in [0, 1]; each side of the square limits t.
  double low = 0, high = 1;
  const auto limit = [&](double p, double q) {  // keeps the t with p t <= q
    if (p == 0) return q >= 0;
    const double t = q / p;
    if (p < 0) {
      if (t > high) return false;
      low = std::max(low, t);
    } else {
      if (t < low) return false;
      high = std::min(high, t);
    }
    return true;
  };
  if (!limit(-dx, x0 + kClipReach) || !limit(dx, kClipReach - x0) || !limit(-dy, y0 + kClipReach) ||
      !limit(dy, kClipReach - y0))
    return false;
  const auto at = [&](double t, double& x, double& y) {
    if (t <= 0.5) {
      x = x0 + t * dx;
      y = y0 + t * dy;
    } else {
      x = x1 - (1 - t) * dx;
      y = y1 - (1 - t) * dy;
    }
    x = std::clamp(x, -kClipReach, kClipReach);  // rounding may step a hair outside
    y = std::clamp(y, -kClipReach, kClipReach);
  };
  double nx0 = x0, ny0 = y0, nx1 = x1, ny1 = y1;
  if (low > 0) at(low, nx0, ny0);
  if (high < 1) at(high, nx1, ny1);
  x0 = nx0, y0 = ny0, x1 = nx1, y1 = ny1;
  return true;
}

void draw_rectangle_outline(Raster& raster, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                            std::int32_t y1, Colour colour) {
  raster.fill_rect(x0, y0, x1, y0, colour);
  raster.fill_rect(x0, y1, x1, y1, colour);
  raster.fill_rect(x0, y0, x0, y1, colour);
  raster.fill_rect(x1, y0, x1, y1, colour);
}

}  // namespace rt
