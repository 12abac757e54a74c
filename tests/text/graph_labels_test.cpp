// The axis numbers of the graph, drawn with the real font: however wide or narrow the range,
// no number's ink comes near the one printed before it on its axis.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "app/files/spectrum_load.h"
#include "app/graph/axis_marks.h"
#include "app/graph/drawgraph.h"
#include "app/shell/session.h"
#include "app/workspace/control_refs.h"
#include "platform/text/qt_text_renderer.h"
#include "runtime/forms/events.h"
#include "runtime/picture/picture_ops.h"

namespace {

// Notes where each printed text inks, by the series it belongs to (the x numbers share their
// row, the y numbers their column).
struct RecordingRenderer : platform_text::QtTextRenderer {
  std::map<std::pair<char, int>, std::vector<rt::InkBox>> series;
  int draw_text(rt::Raster& raster, int x, int y, std::string_view utf8, const std::string& face,
                int pixel_height, rt::Colour colour) override {
    const rt::InkBox box = ink_box(utf8, face, pixel_height);
    if (!box.empty()) {
      const auto key = y == 615 ? std::make_pair('x', y) : std::make_pair('y', x);
      series[key].push_back({box.left + x, box.top + y, box.right + x, box.bottom + y});
    }
    return QtTextRenderer::draw_text(raster, x, y, utf8, face, pixel_height, colour);
  }
};

bool near(const rt::InkBox& a, const rt::InkBox& b) {
  return a.left <= b.right + app::kLabelGap && b.left <= a.right + app::kLabelGap &&
         a.top <= b.bottom + app::kLabelGap && b.top <= a.bottom + app::kLabelGap;
}

struct Range {
  const char* name;
  double x_from, x_to, y_top;
};
void PrintTo(const Range& r, std::ostream* os) { *os << r.name; }

class GraphLabels : public ::testing::TestWithParam<Range> {};

TEST_P(GraphLabels, NoNumberCrowdsAnother) {
  const Range& r = GetParam();
  RecordingRenderer renderer;
  app::Session session(nullptr, &renderer);
  session.start();
  // 1001 points of one peak over the range.
  app::LoadedSpectrum s;
  for (int i = 0; i <= 1000; ++i) {
    const double x = r.x_to - (r.x_to - r.x_from) * i / 1000;
    const double u = (x - (r.x_from + r.x_to) / 2) / (r.x_to - r.x_from) * 10;
    s.add(static_cast<float>(x), r.y_top * std::exp(-u * u));
  }
  app::store_spectrum(s, "range.bgd");
  renderer.series.clear();
  ASSERT_TRUE(rt::run_procedure(app::DRAWGRAPH));
  rt::picture_pixel(app::PICTURE(1), 0, 0);  // the texts are drawn when the pixels are read
  ASSERT_EQ(renderer.series.count({'x', 615}), 1u);
  for (const auto& [key, boxes] : renderer.series) {
    SCOPED_TRACE(std::string(1, key.first) + " " + std::to_string(key.second));
    EXPECT_GE(boxes.size(), 1u);
    for (std::size_t i = 1; i < boxes.size(); ++i)
      for (std::size_t j = 0; j < i; ++j)
        EXPECT_FALSE(near(boxes[i], boxes[j])) << "numbers " << j << " and " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Ranges, GraphLabels,
                         ::testing::Values(Range{"kinetic_energy_0_to_1400", 0, 1400, 1000},
                                           Range{"forty_five_units", 250, 295, 1000},
                                           Range{"carbon_k_edge", 270, 330, 5000},
                                           Range{"a_thousandth_wide", 285, 285.001, 1000},
                                           Range{"y_range_just_below_a_power_of_ten", 280, 290,
                                                 9.9},
                                           Range{"y_range_a_thousandth", 280, 290, 0.001}),
                         [](const auto& param_info) { return std::string(param_info.param.name); });

}  // namespace
