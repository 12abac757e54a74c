#pragma once

#include <string_view>

namespace app {

// The x axis's tick series: from the first whole number not below XMIN to the last not above
// XMAX, in steps of `step`.
struct XTicks {
  float first = 0;
  float last = 0;
  float step = 1;
};

// The automatic step is 1, 10 from a range of 50 on, 100 from 200 on. A user step (the "User
// range" box in state 1 and a step text that is not empty) replaces it, unless it is 0,
// negative or no number: such a step would never reach the last tick, and the automatic one
// is used for that draw.
XTicks plan_x_ticks(float xmin, float xmax, bool user_range, std::string_view step_text);

// How far left of its tick a number of the wide label series (ranges of 1000 and more) starts:
// 13 pixels below 10, 25 below 1000, 35 above, so that the number stands centred on its tick.
float wide_label_offset(float t);

// Below this x range every wide label that could change a pixel is printed; from it on only the
// first of those that start on one pixel.
inline constexpr double kEveryWideNumberBelow = 1e7;

// The value that the text of a wide label t (a whole number from 0 to 2^31, as that series'
// counter always is) shows: t itself below a million, else t rounded to six significant
// digits, halves up, as the text rounds it. Equal values mean equal texts and different values
// different ones, so the value stands for the text without making it.
double wide_label_value(float t);

// Draws the x axis into the graph picture in the drawing colour: writes the tick ends and the
// step used back into EDIT3, EDIT4 and EDIT5, draws the ticks rising from the bottom edge of
// the plot area and the numbers below it in a 24-pixel font.
void draw_x_axis();

}  // namespace app
