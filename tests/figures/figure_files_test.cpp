// The fit view's figures: the SVG is XML whose polylines are the picture's curves, a real SVG
// renderer draws what the program's raster shows, and the PNG holds the raster exactly.

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/graph/fit_view.h"
#include "platform/text/qt_text_renderer.h"
#include "runtime/picture/drawing.h"
#include "runtime/picture/figure_files.h"
#include "runtime/picture/text_renderer.h"

namespace {

using rt::DrawStep;

app::FitViewData three_peaks() {
  app::FitViewData d;
  d.components = {{1, {}}, {2, {}}, {3, {}}};
  const double centres[3] = {284.8, 286.3, 288.9}, heights[3] = {3000, 900, 500};
  for (int i = 0; i <= 320; ++i) {
    const double x = 280 + 0.05 * i;
    double sum = 0;
    for (int k = 0; k < 3; ++k) {
      const double c = heights[k] * std::exp(-(x - centres[k]) * (x - centres[k]) / 0.6);
      d.components[static_cast<std::size_t>(k)].y.push_back(c);
      sum += c;
    }
    d.x.push_back(x);
    d.background.push_back(800 + 600.0 * i / 320);
    d.sum.push_back(sum);
    d.measured.push_back(d.background.back() + sum + 40 * std::sin(i * 1.3));
  }
  return d;
}

class FigureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rt::set_text_renderer(&renderer_);
    view_ = app::build_fit_view(three_peaks());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    rt::set_text_renderer(nullptr);
    std::filesystem::remove_all(folder_);
  }
  std::string path(const std::string& name) const { return (folder_ / name).string(); }

  platform_text::QtTextRenderer renderer_;
  app::FitView view_;
  std::filesystem::path folder_ =
      std::filesystem::temp_directory_path() / ("figure_test_" + std::to_string(::getpid()));
};

struct SvgPolyline {
  std::string stroke;
  std::vector<rt::PointF> points;
};

std::vector<SvgPolyline> read_polylines(const std::string& svg, std::string& error) {
  std::vector<SvgPolyline> lines;
  QXmlStreamReader xml(QByteArray::fromStdString(svg));
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement() || xml.name() != QStringLiteral("polyline")) continue;
    SvgPolyline line;
    line.stroke = xml.attributes().value("stroke").toString().toStdString();
    for (const QString& pair : xml.attributes().value("points").toString().split(' ')) {
      const QStringList xy = pair.split(',');
      if (xy.size() == 2) line.points.push_back({xy[0].toDouble(), xy[1].toDouble()});
    }
    lines.push_back(std::move(line));
  }
  if (xml.hasError()) error = xml.errorString().toStdString();
  return lines;
}

std::string css(rt::Colour c) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", c & 0xFF, (c >> 8) & 0xFF,
                (c >> 16) & 0xFF);
  return buffer;
}

TEST_F(FigureTest, TheSvgIsXmlAndItsPolylinesAreThePicturesCurves) {
  const std::string svg = rt::svg_text(view_.drawing);
  std::string error;
  const std::vector<SvgPolyline> lines = read_polylines(svg, error);
  ASSERT_EQ(error, "");
  std::vector<const DrawStep*> steps;
  for (const DrawStep& s : view_.drawing.steps)
    if (s.kind == DrawStep::Kind::kPolyline) steps.push_back(&s);
  ASSERT_EQ(lines.size(), steps.size());

  const rt::Raster picture = rt::rasterize(view_.drawing, 1);
  for (std::size_t n = 0; n < steps.size(); ++n) {
    const DrawStep& s = *steps[n];
    SCOPED_TRACE(n);
    EXPECT_EQ(lines[n].stroke, css(s.colour));
    ASSERT_EQ(lines[n].points.size(), s.points.size());
    // The picture alone with this curve: every vertex within the clip is a pixel of it.
    rt::Drawing alone{view_.drawing.width, view_.drawing.height, {s}};
    const rt::Raster curve = rt::rasterize(alone, 1);
    for (std::size_t i = 0; i < s.points.size(); ++i) {
      EXPECT_NEAR(lines[n].points[i].x, s.points[i].x, 0.01);
      EXPECT_NEAR(lines[n].points[i].y, s.points[i].y, 0.01);
      if (s.clip && !s.clip->contains(s.points[i])) continue;
      EXPECT_EQ(curve.pixel(std::lround(s.points[i].x), std::lround(s.points[i].y)), s.colour);
    }
  }
  // In the whole picture the envelope lies over the data: each of its vertices is red there.
  const DrawStep* envelope = nullptr;
  for (const DrawStep* s : steps)
    if (s->colour == 0x0000FF) envelope = s;
  ASSERT_NE(envelope, nullptr);
  int red = 0, inside = 0;
  const rt::ClipRect& plot = *envelope->clip;
  for (const rt::PointF& p : envelope->points) {
    // The frame is drawn over the plot's edges.
    if (!(p.x > plot.left && p.x < plot.right && p.y > plot.top && p.y < plot.bottom)) continue;
    ++inside;
    red += picture.pixel(std::lround(p.x), std::lround(p.y)) == 0x0000FF;
  }
  EXPECT_EQ(red, inside);
}

rt::Raster read_png(const std::string& file) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, file.c_str())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> bytes(PNG_IMAGE_SIZE(image));
  // rsvg draws on transparency; white behind it is what a page shows.
  png_color white{255, 255, 255};
  if (!png_image_finish_read(&image, &white, bytes.data(), 0, nullptr)) return {};
  rt::Raster raster(static_cast<std::int32_t>(image.width),
                    static_cast<std::int32_t>(image.height));
  for (std::int32_t y = 0; y < raster.height(); ++y)
    for (std::int32_t x = 0; x < raster.width(); ++x) {
      const png_byte* p = &bytes[(static_cast<std::size_t>(y) * image.width + x) * 3];
      raster.set_pixel(x, y, rt::Colour{p[0]} | rt::Colour{p[1]} << 8 | rt::Colour{p[2]} << 16);
    }
  return raster;
}

TEST_F(FigureTest, ThePngHoldsTheRasterAtTwiceAndFourTimesTheSize) {
  for (int scale : {2, 4}) {
    SCOPED_TRACE(scale);
    const rt::Raster raster = rt::rasterize(view_.drawing, scale);
    EXPECT_EQ(raster.width(), app::kFitViewWidth * scale);
    const std::vector<std::uint8_t> png = rt::png_bytes(raster);
    rt::write_figure_file(path("f.png"), png.data(), png.size());
    EXPECT_TRUE(read_png(path("f.png")) == raster);
  }
}

// Whether a pixel within `reach` of (x, y) in `r` is not white.
bool ink_near(const rt::Raster& r, int x, int y, int reach) {
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx) {
      const rt::Colour c = r.pixel(x + dx, y + dy);
      if (c != rt::kNoPixel && c != rt::kWhite) return true;
    }
  return false;
}

bool dark(rt::Colour c) {
  const int sum = static_cast<int>((c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF));
  return c != rt::kNoPixel && sum < 3 * 160;
}

TEST_F(FigureTest, ARealSvgRendererDrawsWhatTheRasterShows) {
  if (std::system("rsvg-convert --version > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "rsvg-convert (Debian librsvg2-bin) is not installed";
  const std::string svg = rt::svg_text(view_.drawing);
  std::ofstream(path("f.svg"), std::ios::binary) << svg;
  ASSERT_EQ(
      std::system(("rsvg-convert -z 2 -o '" + path("r.png") + "' '" + path("f.svg") + "'").c_str()),
      0);
  const rt::Raster theirs = read_png(path("r.png"));
  const rt::Raster ours = rt::rasterize(view_.drawing, 2);
  ASSERT_EQ(theirs.width(), ours.width());
  ASSERT_EQ(theirs.height(), ours.height());
  // Fonts differ between renderers: only the curves, points and frames are compared.
  std::vector<rt::ClipRect> text;
  for (const DrawStep& s : view_.drawing.steps)
    if (s.kind == DrawStep::Kind::kText) {
      const double width = rt::text_width(s.text, s.text_height);
      const double left = rt::text_left(s, width);
      text.push_back({2 * left - 8, 2 * s.points[0].y - 8, 2 * (left + width) + 8,
                      2 * (s.points[0].y + s.text_height) + 8});
    }
  const auto in_text = [&](int x, int y) {
    for (const rt::ClipRect& r : text)
      if (r.contains({static_cast<double>(x), static_cast<double>(y)})) return true;
    return false;
  };
  long ours_ink = 0, ours_matched = 0, theirs_dark = 0, theirs_matched = 0;
  for (int y = 0; y < ours.height(); ++y)
    for (int x = 0; x < ours.width(); ++x) {
      if (in_text(x, y)) continue;
      if (ours.pixel(x, y) != rt::kWhite) {
        ++ours_ink;
        ours_matched += ink_near(theirs, x, y, 2);
      }
      if (dark(theirs.pixel(x, y))) {
        ++theirs_dark;
        theirs_matched += ink_near(ours, x, y, 2);
      }
    }
  ASSERT_GT(ours_ink, 10000);
  EXPECT_GE(static_cast<double>(ours_matched) / static_cast<double>(ours_ink), 0.99);
  EXPECT_GE(static_cast<double>(theirs_matched) / static_cast<double>(theirs_dark), 0.99);
}

// The labels as the fonts ink them: for axes from 2 to 1400 eV and from a few counts to
// millions, no two texts of the view share a pixel, nor touch one another.
TEST_F(FigureTest, NoTwoLabelsInkTheSamePixelsWithTheProgramsFonts) {
  for (double span : {2.0, 3.3, 7.9, 25.0, 99.0, 333.0, 999.0, 1400.0}) {
    for (double top : {3.0, 12345.0, 2.5e6}) {
      SCOPED_TRACE(std::to_string(span) + " eV, top " + std::to_string(top));
      app::FitViewData d;
      for (int i = 0; i <= 200; ++i) {
        d.x.push_back(1400 - span + span * i / 200);
        d.measured.push_back(-top / 7 + top * i / 200);
        d.background.push_back(-top / 7);
      }
      const app::FitView v = app::build_fit_view(d);
      struct Ink {
        int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
        std::string text;
      };
      std::vector<Ink> inks;
      for (const DrawStep& step : v.drawing.steps) {
        if (step.kind != DrawStep::Kind::kText) continue;
        const rt::Raster r = rt::rasterize({v.drawing.width, v.drawing.height, {step}}, 1);
        Ink ink;
        ink.text = step.text;
        for (int y = 0; y < r.height(); ++y)
          for (int x = 0; x < r.width(); ++x)
            if (r.pixel(x, y) != rt::kWhite) {
              ink.left = std::min(ink.left, x);
              ink.right = std::max(ink.right, x);
              ink.top = std::min(ink.top, y);
              ink.bottom = std::max(ink.bottom, y);
            }
        ASSERT_GE(ink.right, 0) << step.text << " inks nothing";
        inks.push_back(ink);
      }
      for (std::size_t i = 0; i < inks.size(); ++i)
        for (std::size_t j = i + 1; j < inks.size(); ++j) {
          const Ink &a = inks[i], &b = inks[j];
          // One pixel of white at least between any two.
          const bool apart = a.right + 1 < b.left || b.right + 1 < a.left || a.bottom + 1 < b.top ||
                             b.bottom + 1 < a.top;
          EXPECT_TRUE(apart) << "\"" << a.text << "\" and \"" << b.text << "\"";
        }
    }
  }
}

}  // namespace
