// Lines against an independent reference: for every column (or row) along the longer axis the
// pixel nearest the exact line, found by comparing distances, ties to the greater coordinate.

#include "runtime/picture/line_drawing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace {

using rt::Colour;
using rt::Raster;
using Pixels = std::vector<std::pair<std::int64_t, std::int64_t>>;
using Wide = __int128;

constexpr Colour kInk = 0x123456;

// The reference walks only the columns (rows) inside the raster, so it can check lines whose
// end points lie billions of pixels away without visiting them.
Pixels reference_line(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                      std::int64_t width, std::int64_t height) {
  Pixels out;
  const bool x_major = std::abs(x1 - x0) >= std::abs(y1 - y0);
  const std::int64_t m0 = x_major ? x0 : y0, m1 = x_major ? x1 : y1;
  const std::int64_t n0 = x_major ? y0 : x0, n1 = x_major ? y1 : x1;
  const std::int64_t major_size = x_major ? width : height;
  const std::int64_t minor_size = x_major ? height : width;
  for (std::int64_t m = std::max<std::int64_t>(std::min(m0, m1), 0);
       m <= std::min<std::int64_t>(std::max(m0, m1), major_size - 1); ++m) {
    std::int64_t n = n0;
    if (m1 != m0) {
      // Exact minor value num / den at m, with den > 0.
      Wide num = Wide{n0} * (m1 - m0) + Wide{n1 - n0} * (m - m0);
      Wide den = m1 - m0;
      if (den < 0) num = -num, den = -den;
      Wide below = num / den;
      if (below * den > num) --below;
      const Wide rem = num - below * den;  // distance to `below`, times den
      n = static_cast<std::int64_t>(den - rem <= rem ? below + 1 : below);
    }
    if (n >= 0 && n < minor_size) out.push_back(x_major ? std::pair{m, n} : std::pair{n, m});
  }
  return out;
}

// Compares with a raster of `background` that has `expected` painted in kInk.
void expect_exactly(const Raster& r, const Pixels& expected, Colour background) {
  Raster want(r.width(), r.height(), background);
  for (auto [x, y] : expected) want.set_pixel(x, y, kInk);
  int wrong = 0;
  for (std::int32_t y = 0; y < r.height(); ++y)
    for (std::int32_t x = 0; x < r.width(); ++x)
      if (r.pixel(x, y) != want.pixel(x, y) && ++wrong <= 5)
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << r.pixel(x, y);
  EXPECT_EQ(wrong, 0);
}

struct LineCase {
  const char* name;
  std::int32_t x0, y0, x1, y1;
  Pixels pixels;  // inside a 10 x 8 raster
};

class LineTable : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineTable, DrawsExactlyTheseAndSameBackwards) {
  const LineCase& c = GetParam();
  for (bool backwards : {false, true}) {
    SCOPED_TRACE(backwards ? "backwards" : "forwards");
    Raster r(10, 8, rt::kWhite);
    if (backwards)
      rt::draw_line(r, c.x1, c.y1, c.x0, c.y0, kInk);
    else
      rt::draw_line(r, c.x0, c.y0, c.x1, c.y1, kInk);
    expect_exactly(r, c.pixels, rt::kWhite);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineTable,
    ::testing::Values(
        LineCase{"point", 3, 4, 3, 4, {{3, 4}}},
        LineCase{"horizontal_both_ends", 2, 3, 6, 3, {{2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}}},
        LineCase{"vertical", 1, 5, 1, 7, {{1, 5}, {1, 6}, {1, 7}}},
        LineCase{"diagonal", 0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        LineCase{"anti_diagonal", 3, 0, 0, 3, {{3, 0}, {2, 1}, {1, 2}, {0, 3}}},
        // y = x / 4: the half at x = 2 goes to the greater row.
        LineCase{"shallow_tie_down", 0, 0, 4, 1, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}}},
        // y = -x / 4 + 2: at x = 2 the half (1.5) goes to row 2.
        LineCase{"shallow_tie_up", 0, 2, 4, 1, {{0, 2}, {1, 2}, {2, 2}, {3, 1}, {4, 1}}},
        LineCase{"steep", 1, 0, 2, 4, {{1, 0}, {1, 1}, {2, 2}, {2, 3}, {2, 4}}},
        LineCase{"clipped_left", -5, 2, 1, 2, {{0, 2}, {1, 2}}},
        LineCase{"wholly_outside", -5, -1, 20, -1, {}},
        LineCase{"far_horizontal",
                 -2000000000,
                 7,
                 2000000000,
                 7,
                 {{0, 7}, {1, 7}, {2, 7}, {3, 7}, {4, 7}, {5, 7}, {6, 7}, {7, 7}, {8, 7}, {9, 7}}},
        LineCase{"far_vertical",
                 9,
                 -2147483647 - 1,
                 9,
                 2147483647,
                 {{9, 0}, {9, 1}, {9, 2}, {9, 3}, {9, 4}, {9, 5}, {9, 6}, {9, 7}}},
        LineCase{"far_diagonal",
                 -1000000000,
                 -1000000000,
                 1000000000,
                 1000000000,
                 {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 7}}}),
    [](const auto& instance) { return std::string(instance.param.name); });

// Seeded random lines of three reaches: near the raster, a few thousand pixels away (the
// graph's curves run off the plot), and anywhere in the 32-bit range.
struct Reach {
  const char* name;
  std::int64_t lo, hi;
};

class RandomLines : public ::testing::TestWithParam<Reach> {};

TEST_P(RandomLines, MatchReference) {
  const Reach reach = GetParam();
  constexpr std::int32_t kWidth = 61, kHeight = 47;
  std::mt19937_64 random(0x7E55A1u);
  std::uniform_int_distribution<std::int64_t> coord(reach.lo, reach.hi);
  for (int i = 0; i < 3000; ++i) {
    const auto x0 = static_cast<std::int32_t>(coord(random));
    const auto y0 = static_cast<std::int32_t>(coord(random));
    const auto x1 = static_cast<std::int32_t>(coord(random));
    const auto y1 = static_cast<std::int32_t>(coord(random));
    SCOPED_TRACE(::testing::Message()
                 << "(" << x0 << ", " << y0 << ") - (" << x1 << ", " << y1 << ")");
    Raster r(kWidth, kHeight, rt::kWhite);
    rt::draw_line(r, x0, y0, x1, y1, kInk);
    expect_exactly(r, reference_line(x0, y0, x1, y1, kWidth, kHeight), rt::kWhite);
    if (HasFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Reaches, RandomLines,
                         ::testing::Values(Reach{"near", -20, 80}, Reach{"far", -3000, 3000},
                                           Reach{"full_range", -2147483648LL, 2147483647LL}),
                         [](const auto& instance) { return std::string(instance.param.name); });

// Lines that cross a graph-sized raster from points billions of pixels away: each must cost
// only its visible part (walking the invisible one would take minutes per line).
TEST(FarLines, CrossTheRasterQuickly) {
  Raster r(664, 648, rt::kWhite);
  Pixels expected;
  for (std::int32_t k = 0; k < 2000; ++k) {
    const std::int32_t lines[2][4] = {
        {-2000000000 + k, -2000000000, 2000000000, 2000000000 - k},  // y = x + k
        {300 + k % 64, -2147483647 - 1, 100, 2147483647}};
    for (const auto& l : lines) {
      rt::draw_line(r, l[0], l[1], l[2], l[3], kInk);
      const Pixels p = reference_line(l[0], l[1], l[2], l[3], r.width(), r.height());
      expected.insert(expected.end(), p.begin(), p.end());
    }
  }
  expect_exactly(r, expected, rt::kWhite);
}

TEST(Rectangles, OutlineIsTheFourEdgesOnly) {
  Raster r(10, 8, rt::kWhite);
  rt::draw_rectangle_outline(r, 7, 6, 2, 1, kInk);  // corners in any order
  Pixels edges;
  for (std::int64_t x = 2; x <= 7; ++x) edges.insert(edges.end(), {{x, 1}, {x, 6}});
  for (std::int64_t y = 1; y <= 6; ++y) edges.insert(edges.end(), {{2, y}, {7, y}});
  expect_exactly(r, edges, rt::kWhite);

  Raster far(10, 8, rt::kWhite);
  rt::draw_rectangle_outline(far, -2000000000, 3, 2000000000, 2000000000, kInk);
  Pixels top;
  for (std::int64_t x = 0; x < 10; ++x) top.push_back({x, 3});
  expect_exactly(far, top, rt::kWhite);
}

}  // namespace
