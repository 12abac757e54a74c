// Components linked as spin-orbit doublets: Refine on synthetic Ti 2p with two chemical states
// (two doublets: splitting 5.7, area ratio 0.5, equal widths) under Poisson noise recovers
// every free parameter within its deviations as often as it should, holds the ratio exactly,
// and its species (a doublet counted once) cover their true shares.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "app/fit/refine.h"
#include "app/model/fit_report.h"
#include "app/model/peak_measures.h"
#include "app/workspace/components.h"
#include "app/workspace/control_refs.h"
#include "app/workspace/peak_table.h"
#include "app/workspace/workspace.h"
#include "runtime/forms/control_values.h"
#include "tests/refine/refine_fixture.h"

namespace {

using fit_testing::PeakRow;
using refine_testing::TruePeak;

constexpr double kSplitting = 5.7, kRatio = 0.5, kBackground = 100;
// TiO2 and a reduced state, each 2p3/2; their 2p1/2 partners follow.
const std::vector<TruePeak> kStates = {{458.8, 1.2, 1200}, {457.0, 1.5, 400}};

std::vector<TruePeak> all_lines() {
  std::vector<TruePeak> lines = kStates;
  for (const TruePeak& p : kStates)
    lines.push_back({p.centre + kSplitting, p.width, p.height * kRatio});
  return lines;
}

class DoubletLinks : public refine_testing::RefineTest {
 protected:
  // Poisson counts over 452-470 eV (361 points), the known background subtracted.
  void load_counts() {
    const std::vector<TruePeak> lines = all_lines();
    std::vector<float> x, y;
    std::vector<double> measured;
    for (int i = 0; i < kPoints; ++i) {
      const float xi = static_cast<float>(470 - 18.0 * i / (kPoints - 1));
      std::poisson_distribution<long> counts(kBackground + refine_testing::truth_at(xi, lines));
      const double m = static_cast<double>(counts(random_));
      x.push_back(xi);
      y.push_back(static_cast<float>(m - kBackground));
      measured.push_back(m);
    }
    fit_testing::load_points(x, y);
    app::Workspace& w = app::workspace();
    w.XMIN = w.DATAXMIN = 452;
    w.XMAX = w.DATAXMAX = 470;
    w.YMIN = w.DATAYMIN = -100;
    w.YMAX = w.DATAYMAX = 1500;
    w.fit.spectrum.measured = measured;
  }
  // The two states typed a little off, their partners linked as "Add doublet..." links them.
  void type_doublets() {
    fit_testing::set_row(1, PeakRow{"458.6", "1.3", "1100", ""});
    fit_testing::set_row(2, PeakRow{"457.3", "1.4", "450", ""});
    fit_testing::set_row(3, PeakRow{"464.3", "1.3", "550", ""});
    fit_testing::set_row(4, PeakRow{"463", "1.4", "225", ""});
    for (const auto& [k, source] : {std::pair{3, "A"}, std::pair{4, "B"}}) {
      ASSERT_EQ(app::set_constraint_text(k, app::Param::Centre, std::string(source) + "+5.7"), "");
      ASSERT_EQ(app::set_constraint_text(k, app::Param::Width, std::string(source) + "*1"), "");
      ASSERT_EQ(
          app::set_constraint_text(k, app::Param::Height, std::string("area=") + source + "*0.5"),
          "");
    }
    rt::set_text(app::EDIT(43), "1");
  }
  static constexpr int kPoints = 361;
  std::mt19937_64 random_{20261211};
};

TEST_F(DoubletLinks, RefineRecoversTwoStatesOfTi2p) {
  constexpr int kDraws = 200;
  const app::ProfileConstants k = app::ProfileConstants::for_mix(static_cast<double>(0.3f));
  const double unit = app::unit_area(app::PeakShape{}, k);
  double state_area[2], total = 0;
  for (int s = 0; s < 2; ++s)
    total += state_area[s] = (1 + kRatio) * kStates[s].height * kStates[s].width * unit;
  int within3[6] = {}, share_within3[2] = {};
  app::set_weight_counts(true);
  for (int draw = 0; draw < kDraws; ++draw) {
    load_counts();
    type_doublets();
    app::refine_table();
    const app::FitReport r = app::make_fit_report(*app::last_fit());
    ASSERT_EQ(r.rows.size(), 4u);
    ASSERT_EQ(r.free_parameters, 6);
    for (int s = 0; s < 2; ++s) {
      const app::FitReportRow& row = r.rows[static_cast<std::size_t>(s)];
      const TruePeak& t = kStates[static_cast<std::size_t>(s)];
      within3[3 * s] += std::fabs(row.centre - t.centre) <= 3 * *row.centre_sd;
      within3[3 * s + 1] += std::fabs(row.width - t.width) <= 3 * *row.width_sd;
      within3[3 * s + 2] += std::fabs(row.height - t.height) <= 3 * *row.height_sd;
      // The partner: exactly the splitting above, the same width, half the area; an offset
      // link's deviation is its source's.
      const app::FitReportRow& partner = r.rows[static_cast<std::size_t>(s + 2)];
      EXPECT_NEAR(partner.centre - row.centre, kSplitting, 1e-9);
      EXPECT_EQ(partner.width, row.width);
      EXPECT_NEAR(*partner.area / *row.area, kRatio, 1e-12);
      EXPECT_NEAR(*partner.centre_sd, *row.centre_sd, 1e-12 * *row.centre_sd);
    }
    ASSERT_EQ(r.species.size(), 2u);
    for (int s = 0; s < 2; ++s) {
      const app::SpeciesRow& sp = r.species[static_cast<std::size_t>(s)];
      const double truth = 100 * state_area[s] / total;
      share_within3[s] += std::fabs(*sp.share_percent - truth) <= 3 * *sp.share_sd;
    }
  }
  const char* names[3] = {"centre", "width", "height"};
  for (int q = 0; q < 6; ++q) {
    SCOPED_TRACE(std::string(names[q % 3]) + " of state " + std::to_string(q / 3 + 1));
    RecordProperty(std::string(names[q % 3]) + std::to_string(q / 3 + 1) + "_within_3_sigma",
                   std::to_string(within3[q]));
    EXPECT_GE(within3[q], 0.95 * kDraws);
  }
  for (int s = 0; s < 2; ++s) {
    RecordProperty("species" + std::to_string(s + 1) + "_share_within_3_sigma",
                   std::to_string(share_within3[s]));
    EXPECT_GE(share_within3[s], 0.95 * kDraws);
  }
}

// The report names each component's links and lists the species, a doublet once.
TEST_F(DoubletLinks, ReportListsConstraintsAndSpecies) {
  load_counts();
  type_doublets();
  app::set_component_name(1, "TiO2 2p3/2");
  app::set_weight_counts(true);
  app::refine_table();
  const std::vector<std::string> lines =
      app::fit_report_lines(app::make_fit_report(*app::last_fit()));
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[1].substr(0, 13), "1,TiO2 2p3/2,");
  EXPECT_NE(lines[3].find(",centre=A+5.7 area=A*0.5 width=A*1,"), std::string::npos) << lines[3];
  EXPECT_NE(lines[4].find(",centre=B+5.7 area=B*0.5 width=B*1,"), std::string::npos) << lines[4];
  std::size_t header = 0;
  while (header < lines.size() && lines[header] != app::kSpeciesHeader) ++header;
  ASSERT_LT(header + 2, lines.size());
  EXPECT_EQ(lines[header - 1], "");
  EXPECT_EQ(lines[header + 1].substr(0, 15), "TiO2 2p3/2,A C,");
  EXPECT_EQ(lines[header + 2].substr(0, 6), "B,B D,");
  EXPECT_EQ(header + 3, lines.size());
}

// A tolerance makes the offset a free value within its band: a true splitting of 5.8 is found
// through "A+5.7#0.2", and one of 6.1 stops at the band's end, 5.9.
TEST_F(DoubletLinks, ATolerantOffsetIsFittedWithinItsBand) {
  for (const auto& [truth, expected] : {std::pair{5.8, 5.8}, std::pair{6.1, 5.9}}) {
    SCOPED_TRACE(truth);
    const std::vector<TruePeak> lines = {{458.8, 1.2, 1000}, {458.8 + truth, 1.2, 500}};
    std::vector<float> x, y;
    for (int i = 0; i < kPoints; ++i) {
      const float xi = static_cast<float>(470 - 18.0 * i / (kPoints - 1));
      x.push_back(xi);
      y.push_back(static_cast<float>(refine_testing::truth_at(xi, lines)));
    }
    fit_testing::load_points(x, y);
    fit_testing::set_row(1, PeakRow{"458.7", "1.3", "950", ""});
    fit_testing::set_row(2, PeakRow{"464.4", "1.3", "480", ""});
    ASSERT_EQ(app::set_constraint_text(2, app::Param::Centre, "A+5.7#0.2"), "");
    ASSERT_EQ(app::set_constraint_text(2, app::Param::Width, "A*1"), "");
    rt::set_text(app::EDIT(43), "1");
    app::set_weight_counts(false);
    app::refine_table();
    const app::FitReport r = app::make_fit_report(*app::last_fit());
    ASSERT_EQ(r.rows.size(), 2u);
    // Centre, width and height of A, the height of B and the offset.
    EXPECT_EQ(r.free_parameters, 5);
    EXPECT_NEAR(r.rows[1].centre - r.rows[0].centre, expected, 1e-6);
    EXPECT_EQ(r.rows[1].width, r.rows[0].width);
    EXPECT_NE(r.rows[1].constraints.find("centre=A+5.7#0.2"), std::string::npos);
  }
}

// An area link between lines of different widths holds the areas, not the heights, in the
// ratio: the truth (1.2 and 1.8 eV wide, half the area) is found again exactly.
TEST_F(DoubletLinks, AnAreaLinkAcrossWidthsHoldsTheAreas) {
  const std::vector<TruePeak> lines = {{458.8, 1.2, 1000}, {464.5, 1.8, 1000 * 0.5 * 1.2 / 1.8}};
  std::vector<float> x, y;
  for (int i = 0; i < kPoints; ++i) {
    const float xi = static_cast<float>(470 - 18.0 * i / (kPoints - 1));
    x.push_back(xi);
    y.push_back(static_cast<float>(refine_testing::truth_at(xi, lines)));
  }
  fit_testing::load_points(x, y);
  fit_testing::set_row(1, PeakRow{"458.7", "1.3", "950", ""});
  fit_testing::set_row(2, PeakRow{"464.6", "1.6", "300", ""});
  ASSERT_EQ(app::set_constraint_text(2, app::Param::Height, "area=A*0.5"), "");
  rt::set_text(app::EDIT(43), "1");
  app::set_weight_counts(false);
  app::refine_table();
  const app::FitReport r = app::make_fit_report(*app::last_fit());
  ASSERT_EQ(r.rows.size(), 2u);
  EXPECT_EQ(r.free_parameters, 5);
  EXPECT_NEAR(r.rows[0].width, 1.2, 1e-4);
  EXPECT_NEAR(r.rows[1].width, 1.8, 1e-4);
  EXPECT_NEAR(*r.rows[1].area / *r.rows[0].area, 0.5, 1e-12);
  EXPECT_NEAR(r.rows[1].height, lines[1].height, 1e-2);
}

}  // namespace
