#include "runtime/picture/picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "../support/run_time_errors.h"
#include "runtime/convert/integer_rules.h"
#include "runtime/picture/text_renderer.h"

namespace {

using rt::Colour;
using rt::LineCommand;
using rt::LineMode;
using rt::Picture;
using rt::PointF;

LineCommand line_to(double x, double y) {
  LineCommand c;
  c.second = {x, y};
  return c;
}
LineCommand line_from(double x0, double y0, double x1, double y1) {
  LineCommand c = line_to(x1, y1);
  c.first = PointF{x0, y0};
  return c;
}

// Counts the pixels of `colour` and checks that they all lie in [x0, x1] x [y0, y1].
std::int64_t count_in_box(const Picture& p, Colour colour, int x0, int y0, int x1, int y1) {
  std::int64_t n = 0;
  for (int y = 0; y < p.height(); ++y)
    for (int x = 0; x < p.width(); ++x)
      if (p.raster().pixel(x, y) == colour) {
        EXPECT_TRUE(x >= x0 && x <= x1 && y >= y0 && y <= y1) << x << ", " << y;
        ++n;
      }
  return n;
}

TEST(PictureLine, WithoutFirstPointStartsAtCurrentPosition) {
  Picture p(40, 30);
  p.set_drawing_colour(0x0000FF);
  p.line(line_from(0, 0, 10, 20));
  p.set_drawing_colour(0xFF0000);
  p.line(line_to(30, 20));
  EXPECT_EQ(p.current_position().x, 30);
  EXPECT_EQ(p.current_position().y, 20);
  EXPECT_EQ(p.pixel(10, 20), 0xFF0000u);  // the second line covered its start point
  EXPECT_EQ(count_in_box(p, 0xFF0000, 10, 20, 30, 20), 21);
}

struct RelativeCase {
  const char* name;
  bool has_first, first_relative, second_relative;
  PointF expect_first, expect_second;
};

class PictureRelative : public ::testing::TestWithParam<RelativeCase> {};

// From the current position (5, 5), first point (2, 3), second point (4, 3).
TEST_P(PictureRelative, AddsTheRightBase) {
  const RelativeCase& c = GetParam();
  Picture p(40, 30);
  p.set_current_position({5, 5});
  LineCommand cmd = line_to(4, 3);
  if (c.has_first) cmd.first = PointF{2, 3};
  cmd.first_relative = c.first_relative;
  cmd.second_relative = c.second_relative;
  cmd.mode = LineMode::kFilledRectangle;  // its corners show both points plainly
  cmd.colour_index = 0;
  p.line(cmd);
  const int x0 = static_cast<int>(std::min(c.expect_first.x, c.expect_second.x));
  const int x1 = static_cast<int>(std::max(c.expect_first.x, c.expect_second.x));
  const int y0 = static_cast<int>(std::min(c.expect_first.y, c.expect_second.y));
  const int y1 = static_cast<int>(std::max(c.expect_first.y, c.expect_second.y));
  EXPECT_EQ(count_in_box(p, rt::kBlack, x0, y0, x1, y1), (x1 - x0 + 1) * (y1 - y0 + 1));
  EXPECT_EQ(p.current_position().x, c.expect_second.x);
  EXPECT_EQ(p.current_position().y, c.expect_second.y);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, PictureRelative,
    ::testing::Values(RelativeCase{"absolute", true, false, false, {2, 3}, {4, 3}},
                      RelativeCase{"first_relative", true, true, false, {7, 8}, {4, 3}},
                      RelativeCase{"second_relative", true, false, true, {2, 3}, {6, 6}},
                      RelativeCase{"both_relative", true, true, true, {7, 8}, {11, 11}},
                      RelativeCase{"no_first_second_relative", false, false, true, {5, 5}, {9, 8}}),
    [](const auto& instance) { return std::string(instance.param.name); });

TEST(PictureLine, FilledStripWithIndex15IsExactlyThatStrip) {
  Picture p(664, 648);
  p.set_background_colour(0x000000);
  p.clear();
  LineCommand strip = line_from(0, 0, 650, 50);
  strip.colour_index = 15;
  strip.mode = LineMode::kFilledRectangle;
  p.line(strip);
  EXPECT_EQ(count_in_box(p, rt::kWhite, 0, 0, 650, 50), 651 * 51);
}

// Which colour a rectangle or line takes from index, fill index and background flag.
struct ColourCase {
  const char* name;
  LineMode mode;
  std::optional<std::int32_t> colour_index, fill_index;
  bool in_background;
  Colour edge, inside;
};

class PictureColours : public ::testing::TestWithParam<ColourCase> {};

TEST_P(PictureColours, EdgeAndInside) {
  const ColourCase& c = GetParam();
  Picture p(12, 12);
  p.set_background_colour(0x123456);  // not cleared: the background shows only where drawn
  p.set_drawing_colour(0xFF0080);
  LineCommand cmd = line_from(2, 2, 8, 8);
  cmd.mode = c.mode;
  cmd.colour_index = c.colour_index;
  cmd.fill_index = c.fill_index;
  cmd.in_background = c.in_background;
  p.line(cmd);
  EXPECT_EQ(p.pixel(2, 2), c.edge);
  EXPECT_EQ(p.pixel(8, 5), c.edge);
  EXPECT_EQ(p.pixel(4, 6), c.inside);
  EXPECT_EQ(p.pixel(9, 9), rt::kWhite);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PictureColours,
    ::testing::Values(
        ColourCase{"outline_index0", LineMode::kRectangle, 0, {}, false, 0x000000, rt::kWhite},
        ColourCase{
            "outline_drawing_colour", LineMode::kRectangle, {}, {}, false, 0xFF0080, rt::kWhite},
        ColourCase{
            "filled_line_colour", LineMode::kFilledRectangle, 12, {}, false, 0x0000FF, 0x0000FF},
        ColourCase{"filled_fill_index", LineMode::kFilledRectangle, 12, 10, false, 0x00FF00,
                   0x00FF00},
        ColourCase{
            "filled_background", LineMode::kFilledRectangle, 12, {}, true, 0x123456, 0x123456},
        ColourCase{"outline_background", LineMode::kRectangle, {}, {}, true, 0x123456, rt::kWhite}),
    [](const auto& instance) { return std::string(instance.param.name); });

TEST(PictureLine, BlueLineReadsBackExactly) {
  Picture p(100, 100);
  p.set_drawing_colour(0xFF0000);
  p.line(line_from(10.4, 90.6, 80, 12));
  EXPECT_EQ(p.pixel(10, 91), 0xFF0000u);
  EXPECT_EQ(p.pixel(80, 12), 0xFF0000u);
  EXPECT_EQ(rt::hex_text(static_cast<std::int32_t>(p.pixel(80, 12))), "FF0000");
}

TEST(PictureLine, SwatchLinesFillTheSwatch) {
  Picture p(16, 16);
  p.set_drawing_colour(0x00FFFF);
  for (int i = 0; i < 16; ++i) p.line(line_from(0, i, 15, i));
  EXPECT_EQ(count_in_box(p, 0x00FFFF, 0, 0, 15, 15), 256);
}

TEST(PictureLine, FailedLineDrawsNothingAndKeepsPosition) {
  const std::vector<LineCommand> bad = [] {
    std::vector<LineCommand> v(4, line_from(1, 1, 9, 9));
    v[0].colour_index = 16;
    v[1].colour_index = -1;
    v[2].fill_index = 16;
    v[3].second.x = 1e39;  // beyond the single range
    return v;
  }();
  const int numbers[] = {5, 5, 5, 6};
  for (std::size_t i = 0; i < bad.size(); ++i) {
    SCOPED_TRACE(i);
    Picture p(12, 12);
    p.set_current_position({4, 4});
    expect_error(numbers[i], [&] { p.line(bad[i]); });
    EXPECT_EQ(count_in_box(p, rt::kWhite, 0, 0, 11, 11), 144);
    EXPECT_EQ(p.current_position().x, 4);
    EXPECT_EQ(p.revision(), 0u);
  }
}

// Ends far beyond the 32-bit pixels, as a tiny range makes them: the visible part is drawn
// where the exact line crosses the picture.
TEST(PictureLine, FarEndsDrawTheVisiblePart) {
  struct Case {
    const char* what;
    double x0, y0, x1, y1;
    std::vector<std::pair<int, int>> black;  // pixels the line must cover
    int count;                               // black pixels in all
  } cases[] = {
      {"steep line from far above", 5, -3.4e9, 5, 8, {{5, 0}, {5, 8}}, 9},
      {"through the picture between two far ends", -1e12, 5, 1e12, 5, {{0, 5}, {19, 5}}, 20},
      {"diagonal from a far corner", -4e9, -4e9, 10, 10, {{0, 0}, {7, 7}, {10, 10}}, 11},
      {"far and beside the picture", 30, -1e20, 30, 1e20, {}, 0},
      {"a far filled box covering it all", -1e30, -1e30, 3e9, 3e9, {{0, 0}, {19, 19}}, 400},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Picture p(20, 20);
    LineCommand cmd = line_from(c.x0, c.y0, c.x1, c.y1);
    if (c.count == 400) cmd.mode = LineMode::kFilledRectangle;
    p.line(cmd);
    for (auto [x, y] : c.black) EXPECT_EQ(p.pixel(x, y), rt::kBlack) << x << ", " << y;
    EXPECT_EQ(count_in_box(p, rt::kBlack, 0, 0, 19, 19), c.count);
    EXPECT_EQ(p.current_position().y, c.y1);
  }
}

TEST(PictureColour, DrawingColourRange) {
  Picture p(2, 2);
  p.set_drawing_colour(0xFFFFFF);
  EXPECT_EQ(p.drawing_colour(), 0xFFFFFFu);
  for (std::int64_t bad : {std::int64_t{0x1000000}, std::int64_t{-1}, std::int64_t{0xFFFFFFFF}}) {
    expect_error(6, [&] { p.set_drawing_colour(bad); });
    expect_error(6, [&] { p.set_background_colour(bad); });
  }
  EXPECT_EQ(p.drawing_colour(), 0xFFFFFFu);
}

TEST(Palette, IndicesAndRefusals) {
  EXPECT_EQ(rt::palette_colour(0), 0x000000u);
  EXPECT_EQ(rt::palette_colour(15), 0xFFFFFFu);
  EXPECT_EQ(rt::palette_colour(9), 0xFF0000u);   // blue in the high byte
  EXPECT_EQ(rt::palette_colour(12), 0x0000FFu);  // red in the low byte
  expect_error(5, [] { rt::palette_colour(16); });
  expect_error(5, [] { rt::palette_colour(-1); });
}

struct CoordinateCase {
  double in;
  std::int32_t out;  // 0 with error 6
  bool overflow;
};

class PixelCoordinate : public ::testing::TestWithParam<CoordinateCase> {};

TEST_P(PixelCoordinate, NearestHalvesAwayFromZero) {
  const CoordinateCase& c = GetParam();
  if (c.overflow) {
    expect_error(6, [&] { rt::pixel_coordinate(c.in); });
  } else {
    EXPECT_EQ(rt::pixel_coordinate(c.in), c.out);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rounding, PixelCoordinate,
    ::testing::Values(CoordinateCase{2.5, 3, false}, CoordinateCase{-2.5, -3, false},
                      CoordinateCase{2.4999, 2, false}, CoordinateCase{-0.5, -1, false},
                      CoordinateCase{0.49, 0, false},
                      CoordinateCase{2147483647.0, 2147483647, false},
                      CoordinateCase{-2147483648.0, -2147483647 - 1, false},
                      CoordinateCase{2147483647.5, 0, true}, CoordinateCase{-2147483648.5, 0, true},
                      CoordinateCase{3e9, 0, true},
                      CoordinateCase{std::numeric_limits<double>::quiet_NaN(), 0, true},
                      CoordinateCase{-std::numeric_limits<double>::infinity(), 0, true}));

TEST(PicturePixel, OutsideReadsAllOnes) {
  Picture p(664, 648);
  struct {
    double x, y;
    Colour want;
  } cases[] = {{-1, 0, rt::kNoPixel},    {664, 0, rt::kNoPixel},     {0, 648, rt::kNoPixel},
               {-0.5, 0, rt::kNoPixel},  {663.4, 647.4, rt::kWhite}, {0, 0, rt::kWhite},
               {-2e9, 2e9, rt::kNoPixel}};
  for (const auto& c : cases) EXPECT_EQ(p.pixel(c.x, c.y), c.want) << c.x << ", " << c.y;
  EXPECT_EQ(p.pixel(0, 1e10), rt::kNoPixel);
  expect_error(6, [&] { p.pixel(0, 1e39); });
}

// Records what print_line hands the renderer and marks the text's corner.
struct FakeRenderer : rt::TextRenderer {
  struct Call {
    int x, y;
    std::string text, face;
    int height;
    Colour colour;
  };
  std::vector<Call> calls;
  int height_of_line = 29;
  int line_height(const std::string&, int) override { return height_of_line; }
  int draw_text(rt::Raster& r, int x, int y, std::string_view utf8, const std::string& face,
                int pixel_height, Colour colour) override {
    calls.push_back({x, y, std::string(utf8), face, pixel_height, colour});
    r.set_pixel(x, y, colour);
    return height_of_line;
  }
};

class PicturePrint : public ::testing::Test {
 protected:
  void TearDown() override { rt::set_text_renderer(nullptr); }
};

TEST_F(PicturePrint, DrawsAtTextPositionAndMovesToNextLine) {
  FakeRenderer renderer;
  rt::set_text_renderer(&renderer);
  Picture p(200, 100);
  p.set_font_size(24);
  p.set_text_position({30.5, 10.4});
  p.print_line("[x10^ 3]");
  p.print_line("next");
  EXPECT_TRUE(renderer.calls.empty());  // drawn when the pixels are read
  EXPECT_EQ(p.pixel(31, 10), rt::kBlack);
  ASSERT_EQ(renderer.calls.size(), 2u);
  EXPECT_EQ(renderer.calls[0].x, 31);
  EXPECT_EQ(renderer.calls[0].y, 10);
  EXPECT_EQ(renderer.calls[0].text, "[x10^ 3]");
  EXPECT_EQ(renderer.calls[0].face, rt::kDefaultFontFace);
  EXPECT_EQ(renderer.calls[0].height, 24);
  EXPECT_EQ(renderer.calls[0].colour, rt::kBlack);
  EXPECT_EQ(renderer.calls[1].x, 0);
  EXPECT_EQ(renderer.calls[1].y, 39);
  EXPECT_EQ(p.text_position().y, 68);
  EXPECT_EQ(p.current_position().x, 0);  // lines' current position is separate
}

TEST_F(PicturePrint, WithoutRendererOnlyMovesByFontSize) {
  Picture p(20, 20);
  p.set_font_size(14);
  p.set_text_position({5, 3});
  p.print_line("label");
  EXPECT_EQ(p.text_position().x, 0);
  EXPECT_EQ(p.text_position().y, 17);
  EXPECT_EQ(p.revision(), 0u);
  p.set_text_position({0, 1e10});
  p.print_line("x");
  EXPECT_EQ(p.text_position().y, 1e10 + 14);
  p.set_text_position({0, 1e39});
  expect_error(6, [&] { p.print_line("x"); });
}

TEST(PictureFont, SizeRange) {
  Picture p(2, 2);
  p.set_font_size(23.5);
  EXPECT_EQ(p.font_size(), 24);
  for (double bad : {0.0, 0.4, -3.0, 2049.0}) expect_error(5, [&] { p.set_font_size(bad); });
  expect_error(6, [&] { p.set_font_size(1e12); });
  EXPECT_EQ(p.font_size(), 24);
}

TEST(PictureState, ClearResizeAndRevision) {
  Picture p(4, 3);
  p.set_drawing_colour(0x00FF00);
  p.line(line_from(0, 0, 3, 2));
  const auto after_line = p.revision();
  EXPECT_GT(after_line, 0u);
  p.resize(6, 2);
  EXPECT_GT(p.revision(), after_line);
  EXPECT_EQ(p.width(), 6);
  EXPECT_EQ(p.pixel(0, 0), 0x00FF00u);   // kept
  EXPECT_EQ(p.pixel(5, 1), rt::kWhite);  // new area is background
  EXPECT_EQ(p.pixel(0, 2), rt::kNoPixel);
  p.set_background_colour(0x808080);
  p.clear();
  EXPECT_EQ(count_in_box(p, 0x808080, 0, 0, 5, 1), 12);
  expect_error(7, [&] { p.resize(1 << 15, 1 << 14); });
  expect_error(5, [&] { p.resize(-1, 4); });
  EXPECT_EQ(p.width(), 6);
}

}  // namespace
