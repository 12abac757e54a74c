// The backgrounds against worked cases. The expected Shirley values were computed outside the
// program by a separate Python script written from the formula alone (trapezoid areas of y - B
// from the lowest x, B = low + (high - low) * A(x) / A_total, iterated from B = low until the
// largest change is below 1e-6 of the largest net value, at most 50 times); its output is
// pasted here as constants.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/files/background.h"

namespace {

void expect_near_all(const std::vector<double>& actual, const std::vector<double>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_NEAR(actual[i], expected[i], 1e-9 * std::max(1.0, std::fabs(expected[i])))
        << "point " << i;
}

TEST(ShirleyBackground, AStepFunction) {
  // 10 up to x = 4, 15 at x = 5, 20 from x = 6; the ends average 3 points each.
  const std::vector<double> x = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  const std::vector<double> y = {10, 10, 10, 10, 10, 15, 20, 20, 20, 20, 20};
  expect_near_all(app::shirley_background(x, y, 3),
                  {10.0, 10.0, 10.0, 10.0, 10.0, 12.423548957949336, 17.34553834010337,
                   19.920413892320003, 19.99840859612724, 19.999984085961273, 20.0});
}

TEST(ShirleyBackground, APeakOnASlopedStepGivenByFallingX) {
  // A Gaussian (height 100 at x = 5, sigma 0.8) on an error-function step from 10 to 30 plus a
  // slope of 0.5, at x = 10, 9.5, ... 0 (falling, as binding energies in a file); the ends
  // average 2 points each. The result is in the order given.
  const std::vector<double> rising_y = {10.000000333475937,
                                        10.250013654204864,
                                        10.500378398348646,
                                        10.757098390197825,
                                        11.090150976397522,
                                        12.025348250408163,
                                        16.017886668856264,
                                        29.600089624680514,
                                        59.89633165049854,
                                        99.82746682084047,
                                        122.5,
                                        109.68804565889246,
                                        76.67034070382432,
                                        49.88423515407006,
                                        37.76950005582522,
                                        34.48978723844382,
                                        34.08661428498949,
                                        34.25685552524138,
                                        34.50036693228577,
                                        34.75001328318891,
                                        35.00000032526689};
  const std::vector<double> rising_b = {10.125006993840401, 10.125006993840401, 10.140128436804078,
                                        10.169660058915788, 10.21522973803041,  10.296371740892868,
                                        10.521525868083147, 11.26418099041582,  13.287958212256987,
                                        17.31169218407135,  22.984116732180723, 28.611686848517646,
                                        32.51415239966583,  34.37347925105145,  34.944843215118055,
                                        35.01645290397312,  34.97243741179334,  34.9240429413703,
                                        34.89107702493827,  34.8750068042044,   34.87500680422791};
  std::vector<double> x, y, b;
  for (int i = 20; i >= 0; --i) {
    x.push_back(i * 0.5);
    y.push_back(rising_y[static_cast<std::size_t>(i)]);
    b.push_back(rising_b[static_cast<std::size_t>(i)]);
  }
  expect_near_all(app::shirley_background(x, y, 2), b);
}

TEST(ShirleyBackground, DegenerateSpectraGiveFiniteLevels) {
  // No net area at all: the background stays at the low level.
  expect_near_all(app::shirley_background({1, 2, 3}, {7, 7, 7}, 1), {7, 7, 7});
  // One point, and one x repeated: nothing to divide by, no NaN.
  expect_near_all(app::shirley_background({4}, {9}, 5), {9});
  for (double v : app::shirley_background({2, 2, 2}, {1, 5, 3}, 1)) EXPECT_TRUE(std::isfinite(v));
}

TEST(LinearBackground, JoinsTheEndLevelsInTheOrderGiven) {
  // Ends of 2 points: low (4 + 6) / 2 = 5 at x = 0, high (20 + 22) / 2 = 21 at x = 8.
  const std::vector<double> x = {8, 6, 4, 2, 0};
  const std::vector<double> y = {22, 20, 50, 6, 4};
  const app::EndLevels e = app::end_levels(x, y, 2);
  EXPECT_EQ(e.low, 5);
  EXPECT_EQ(e.high, 21);
  expect_near_all(app::linear_background(x, y, 2), {21, 17, 13, 9, 5});
  // More end points than points: every point is averaged.
  expect_near_all(app::linear_background({1, 3}, {2, 4}, 5), {3, 3});
}

}  // namespace
