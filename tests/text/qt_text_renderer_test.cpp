#include "platform/text/qt_text_renderer.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <string>

#include "runtime/picture/picture.h"

namespace {

using platform_text::QtTextRenderer;
using rt::Colour;
using rt::Raster;

const std::string kGothic = "ＭＳ Ｐゴシック";

// A background in which no pixel is black and every pixel differs from its neighbours, so a
// pixel that the text disturbed without inking it shows.
Raster patterned(int w, int h) {
  Raster r(w, h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      r.set_pixel(x, y, 0x010101 + static_cast<Colour>((x * 7 + y * 131) % 0xFFFF) * 0x97);
  return r;
}

struct InkBox {
  int count = 0, left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

// Pixels that changed: each must be exactly `ink`.
InkBox changed(const Raster& before, const Raster& after, Colour ink) {
  InkBox box;
  for (int y = 0; y < after.height(); ++y)
    for (int x = 0; x < after.width(); ++x) {
      const Colour c = after.pixel(x, y);
      EXPECT_EQ(c >> 24, 0u) << x << ", " << y;
      if (c == before.pixel(x, y)) continue;
      EXPECT_EQ(c, ink) << x << ", " << y;
      ++box.count;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x);
      box.bottom = std::max(box.bottom, y);
    }
  return box;
}

struct TextCase {
  const char* name;
  std::string face, text;
  int size;
  Colour ink;
};
void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class QtText : public ::testing::TestWithParam<TextCase> {};

TEST_P(QtText, InksOnlyTextPixelsInExactColourBelowRightOfThePoint) {
  const TextCase& c = GetParam();
  const Raster before = patterned(320, 80);
  Raster after = before;
  QtTextRenderer renderer;
  const int line_height = renderer.draw_text(after, 20, 10, c.text, c.face, c.size, c.ink);
  EXPECT_GE(line_height, c.size);
  EXPECT_LE(line_height, 2 * c.size);
  const InkBox box = changed(before, after, c.ink);
  EXPECT_GT(box.count, 10);
  EXPECT_GE(box.left, 18);  // top-left anchored: the text lies below and right of the point
  EXPECT_GE(box.top, 10);
  EXPECT_LT(box.bottom, 10 + line_height);

  Raster again = before;
  renderer.draw_text(again, 20, 10, c.text, c.face, c.size, c.ink);
  EXPECT_EQ(again, after);  // deterministic
}

INSTANTIATE_TEST_SUITE_P(
    Texts, QtText,
    ::testing::Values(TextCase{"label", kGothic, " 280", 24, rt::kBlack},
                      TextCase{"exponent", kGothic, "[x10^ 3]", 24, rt::kBlack},
                      TextCase{"japanese", kGothic, "ファイルの保存", 14, rt::kBlack},
                      TextCase{"fixed", "FixedSys", "Tessaly ver2.00", 18, rt::kBlack},
                      TextCase{"unknown_face", "NoSuchFace", "1.5", 24, rt::kBlack},
                      TextCase{"coloured", kGothic, "0.5", 24, 0xFF0080}),
    [](const auto& instance) { return std::string(instance.param.name); });

TEST(QtTextFaces, MapToInstalledFamilies) {
  const std::pair<std::string, QString> faces[] = {{kGothic, "IPAPGothic"},
                                                   {"FixedSys", "DejaVu Sans Mono"},
                                                   {"fixedsys", "DejaVu Sans Mono"},
                                                   {"Arial", "IPAPGothic"},
                                                   {"", "IPAPGothic"}};
  for (const auto& [face, family] : faces) {
    EXPECT_EQ(platform_text::font_family_for(face), family) << face;
    QFont font(family);
    font.setPixelSize(24);
    EXPECT_EQ(QFontInfo(font).family(), family) << "font not installed";
  }
}

TEST(QtTextClipping, EdgesAndFarPositionsTouchOnlyTheRaster) {
  QtTextRenderer renderer;
  const Raster before = patterned(60, 30);
  const std::pair<int, int> points[] = {
      {-8, -6}, {50, 20}, {2000000000, 5}, {-2000000000, -2000000000}, {5, 2147483647}};
  for (auto [x, y] : points) {
    Raster after = before;
    renderer.draw_text(after, x, y, "12345", kGothic, 24, rt::kBlack);
    const InkBox box = changed(before, after, rt::kBlack);
    if (x < -1000 || x > 1000 || y > 1000) {
      EXPECT_EQ(box.count, 0) << x << ", " << y;
    }
  }
  Raster empty;
  EXPECT_GT(renderer.draw_text(empty, 0, 0, "x", kGothic, 24, rt::kBlack), 0);
}

TEST(QtTextPicture, PrintLineMovesDownOneLineHeight) {
  QtTextRenderer renderer;
  rt::set_text_renderer(&renderer);
  rt::Picture picture(200, 120);
  picture.set_font_size(24);
  picture.set_text_position({30, 0});
  picture.print_line("[x10^-2]");
  Raster scratch(1, 1);
  const int line_height = renderer.draw_text(scratch, 0, 0, "", kGothic, 24, 0);
  EXPECT_EQ(picture.text_position().x, 0);
  EXPECT_EQ(picture.text_position().y, line_height);
  picture.print_line("next");
  EXPECT_EQ(picture.text_position().y, 2 * line_height);
  rt::set_text_renderer(nullptr);

  const InkBox box = changed(Raster(200, 120, rt::kWhite), picture.raster(), rt::kBlack);
  EXPECT_GE(box.left, 0);
  EXPECT_LT(box.bottom, 2 * line_height);
  EXPECT_GE(box.bottom, line_height);  // the second line lies below the first
}

}  // namespace
