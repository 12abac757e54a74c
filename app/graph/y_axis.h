#pragma once

#include <string>
#include <string_view>

namespace app {

// The y axis's tick series. The numbers are shown in units of 10^exponent; ticks stand at
// multiples of the unit 10^(exponent - 1) inside the range.
struct YTicks {
  float exponent = 0;  // floor of the decimal logarithm of the range
  float unit = 1;
  float lowest = 0;
  float highest = 0;
  float step = 1;
};

// An empty range is error 11, a reversed one error 5 (the logarithm of the range). A user step
// (the "User range" box in state 1 and a step text that is not empty) replaces the unit as the
// step, unless it is 0, negative or no number: such a step would never reach the highest tick,
// and the unit is used for that draw.
YTicks plan_y_ticks(float ymin, double ymax, bool user_range, std::string_view step_text);

// The number at tick v: v in units of 10^exponent truncated downward to one decimal, always
// with a decimal point and a digit before it ("0.0", "0.2", "1.2", "-.2").
double y_label_value(float v, float unit);
std::string y_label_text(double label_value);

// The exponent label: "[x10^ 4]", "[x10^-2]" (the single text keeps its leading blank).
std::string exponent_label(float exponent);

// Draws the y axis into the graph picture in the drawing colour: ticks pointing into the plot
// area from its left edge, the exponent label above the numbers, numbers on every second tick;
// then, when the y "User range" box is clear (state 0), writes YMIN, YMAX and the step into
// EDIT6, EDIT7 and EDIT8.
void draw_y_axis();

}  // namespace app
