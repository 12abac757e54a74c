// A picture draws its queued operations only when its pixels are read; what it then holds must
// be what drawing each operation at once gives, whatever comes between.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "../support/run_time_errors.h"
#include "runtime/picture/line_drawing.h"
#include "runtime/picture/picture.h"
#include "runtime/picture/text_renderer.h"

namespace {

using rt::Colour;
using rt::LineCommand;
using rt::LineMode;
using rt::Picture;
using rt::Raster;

// Each byte of a text becomes a vertical bar: texts leave marks that overlap shapes.
struct BarRenderer : rt::TextRenderer {
  explicit BarRenderer(int length) : bar(length) {}
  int bar;
  int draw_text(Raster& r, int x, int y, std::string_view utf8, const std::string&,
                int pixel_height, Colour colour) override {
    for (std::size_t i = 0; i < utf8.size(); ++i)
      for (int k = 0; k < bar; ++k) r.set_pixel(x + static_cast<int>(i), y + k, colour);
    return pixel_height + bar;
  }
};

LineCommand shape(double x0, double y0, double x1, double y1, LineMode mode = LineMode::kLine) {
  LineCommand c;
  c.first = rt::PointF{x0, y0};
  c.second = rt::PointF{x1, y1};
  c.mode = mode;
  return c;
}

class LazyPicture : public ::testing::Test {
 protected:
  void TearDown() override { rt::set_text_renderer(nullptr); }
};

TEST_F(LazyPicture, ReadsGiveWhatDrawingAtOnceGives) {
  BarRenderer first(3), second(5);
  rt::set_text_renderer(&first);
  Picture p(40, 30);
  Raster want(40, 30, rt::kWhite);
  const std::string face = rt::kDefaultFontFace;

  p.set_drawing_colour(0x0000FF);
  p.line(shape(1.5, 2.4, 30.5, 20.5));  // halves round away from zero
  rt::draw_line(want, 2, 2, 31, 21, 0x0000FF);
  LineCommand filled = shape(10, 10, 4.6, 25, LineMode::kFilledRectangle);
  filled.fill_index = 9;
  p.line(filled);
  want.fill_rect(5, 10, 10, 25, rt::kPalette[9]);
  p.set_text_position({5.5, 3});
  p.print_line("abc");
  first.draw_text(want, 6, 3, "abc", face, 12, rt::kBlack);
  EXPECT_EQ(p.text_position().y, 3 + 12 + 3);  // the line height is known before drawing
  LineCommand outline = shape(0, 0, 8, 6, LineMode::kRectangle);
  outline.colour_index = 2;
  p.line(outline);
  rt::draw_rectangle_outline(want, 0, 0, 8, 6, rt::kPalette[2]);
  p.line(shape(-3e9, 7, 3e9, 7));  // cut to the raster's reach before rounding
  want.fill_rect(0, 7, 39, 7, 0x0000FF);
  // A failed statement queues nothing and leaves the position.
  LineCommand bad = shape(0, 0, 39, 29);
  bad.colour_index = 16;
  expect_error(5, [&] { p.line(bad); });
  EXPECT_EQ(p.current_position().x, 3e9);
  EXPECT_EQ(p.pixel(6, 3), rt::kBlack);
  EXPECT_EQ(p.raster(), want);

  // A clear drops what is queued before it; drawing goes on after a read.
  p.line(shape(0, 29, 39, 0));
  p.set_background_colour(0x808080);
  p.clear();
  want.fill(0x808080);
  p.line(shape(3, 3, 3, 20));
  rt::draw_line(want, 3, 3, 3, 20, 0x0000FF);
  EXPECT_EQ(p.pixel(3, 10), 0x0000FFu);
  p.print_line("de");  // queued for `first`, which is then replaced and destroyed
  first.draw_text(want, 0, 18, "de", face, 12, rt::kBlack);
  {
    BarRenderer passing(2);
    rt::set_text_renderer(&passing);
    p.print_line("fgh");
    passing.draw_text(want, 0, 33, "fgh", face, 12, rt::kBlack);
    rt::set_text_renderer(&second);
  }
  p.set_text_position({20, 20});
  p.print_line("ij");
  second.draw_text(want, 20, 20, "ij", face, 12, rt::kBlack);
  EXPECT_EQ(p.raster(), want);

  // More operations than the queue holds, never read in between.
  for (int i = 0; i < static_cast<int>(rt::LazyRaster::kMinQueueBytes / 8); ++i) {
    const auto colour = static_cast<rt::Colour>(std::int64_t{i} * 0x010203 & 0xFFFFFF);
    p.set_drawing_colour(colour);
    p.line(shape(i % 40, i % 29, (i * 7) % 40, (i * 3) % 30));
    rt::draw_line(want, i % 40, i % 29, (i * 7) % 40, (i * 3) % 30, colour);
  }
  p.set_text_position({1, 1});
  p.print_line("k");
  second.draw_text(want, 1, 1, "k", face, 12, rt::kBlack);

  // A resize keeps what fits of the drawn picture.
  p.resize(50, 20);
  Raster resized(50, 20, 0x808080);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) resized.set_pixel(x, y, want.pixel(x, y));
  EXPECT_EQ(p.raster(), resized);

  // A restore drops what is queued; a moved picture keeps its queue's pixels.
  const rt::PictureSettings settings = p.settings();
  p.line(shape(0, 0, 49, 19));
  p.print_line("lost");
  p.restore(want, settings);
  EXPECT_EQ(p.raster(), want);
  p.line(shape(0, 0, 39, 29, LineMode::kRectangle));
  rt::draw_rectangle_outline(want, 0, 0, 39, 29, p.drawing_colour());
  p.print_line("m");
  second.draw_text(want, 0, p.text_position().y - 17, "m", face, 12, rt::kBlack);
  const Picture moved(std::move(p));
  rt::set_text_renderer(&first);  // the moved picture's text goes out through `second` now
  EXPECT_EQ(moved.raster(), want);
}

// A polyline is the line statements of its segments: runs within the 32-bit pixels are queued
// whole, a far segment is cut on its own, and a segment beyond the single range fails with
// those before it drawn.
TEST_F(LazyPicture, APolylineIsItsSegmentsOneByOne) {
  const std::vector<rt::PointF> points = {{1.5, 2.5},   {30.5, 20.4}, {12, 28},   {-3e9, 7},
                                          {3e9, 9},     {39, 0},      {0.49, 29}, {20, 15},
                                          {20.5, 15.5}, {1e39, 3},    {5, 5}};
  Picture joined(40, 30), single(40, 30);
  joined.set_drawing_colour(0x00FF00);
  single.set_drawing_colour(0x00FF00);
  expect_error(6, [&] { joined.polyline(points); });
  expect_error(6, [&] {
    for (std::size_t i = 1; i < points.size(); ++i)
      single.line(shape(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y));
  });
  EXPECT_EQ(joined.current_position(), single.current_position());
  EXPECT_EQ(joined.current_position(), points[8]);
  EXPECT_EQ(joined.revision(), single.revision());
  EXPECT_EQ(joined.raster(), single.raster());
}

}  // namespace
