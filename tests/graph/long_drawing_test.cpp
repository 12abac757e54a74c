// A long spectrum's curves are drawn through the points that decide their pixels: the picture
// must be the one every segment would draw, whatever the points' order, density and reach.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "app/graph/long_drawing.h"
#include "runtime/picture/picture.h"

namespace {

struct Polyline {
  const char* name;
  std::vector<float> column, row;
};

rt::Picture drawn(const Polyline& p, const std::vector<std::size_t>& through) {
  rt::Picture picture(664, 648);
  for (std::size_t j = 1; j < through.size(); ++j) {
    rt::LineCommand segment;
    segment.first = rt::PointF{p.column[through[j - 1]], p.row[through[j - 1]]};
    segment.second = rt::PointF{p.column[through[j]], p.row[through[j]]};
    picture.line(segment);
  }
  return picture;
}

std::vector<Polyline> polylines() {
  std::mt19937 random(25);
  std::normal_distribution<float> noise(0, 30);
  std::vector<Polyline> out;
  Polyline survey{"a noisy survey of 100 000 points over the plot's 550 columns", {}, {}};
  for (int i = 0; i < 100000; ++i) {
    survey.column.push_back(650 - 550 * static_cast<float>(i) / 99999);
    survey.row.push_back(400 - 300 * std::exp(-std::pow((i - 60000) / 800.0f, 2.0f)) +
                         noise(random));
  }
  out.push_back(survey);
  Polyline zoomed{"a zoomed window: most points far left and right of the picture", {}, {}};
  for (int i = 0; i < 20000; ++i) {
    zoomed.column.push_back(-60000 + 6.5f * static_cast<float>(i));
    zoomed.row.push_back(300 + 250 * std::sin(static_cast<float>(i) / 40) + noise(random));
  }
  out.push_back(zoomed);
  Polyline unordered{"points in no x order, back and forth, on half pixels", {}, {}};
  for (int i = 0; i < 30000; ++i) {
    unordered.column.push_back(
        100.5f + static_cast<float>((static_cast<std::int64_t>(i) * 7919) % 1100) / 2);
    unordered.row.push_back(50.5f +
                            static_cast<float>((static_cast<std::int64_t>(i) * 104729) % 1120) / 2);
  }
  out.push_back(unordered);
  Polyline tall{"values far above and below the picture", {}, {}};
  for (int i = 0; i < 5000; ++i) {
    tall.column.push_back(100 + 550 * static_cast<float>(i) / 4999);
    tall.row.push_back(i % 3 == 0 ? -3e9f : i % 3 == 1 ? 4e9f : 300.0f);
  }
  out.push_back(tall);
  return out;
}

TEST(LongDrawing, TheDecidingPointsDrawWhatEverySegmentDraws) {
  for (const Polyline& p : polylines()) {
    SCOPED_TRACE(p.name);
    std::vector<std::size_t> every(p.column.size());
    for (std::size_t i = 0; i < every.size(); ++i) every[i] = i;
    const std::vector<std::size_t> deciding = app::deciding_points(p.column, p.row);
    EXPECT_TRUE(drawn(p, every).raster() == drawn(p, deciding).raster());
    ASSERT_FALSE(deciding.empty());
    EXPECT_EQ(deciding.front(), 0u);
    EXPECT_EQ(deciding.back(), p.column.size() - 1);
  }
  // On the plot's columns a survey needs a few points per column, not its 100 000.
  const Polyline survey = polylines().front();
  EXPECT_LE(app::deciding_points(survey.column, survey.row).size(), 4u * 551);
}

}  // namespace
