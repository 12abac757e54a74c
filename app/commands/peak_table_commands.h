#pragma once
// The commands of the peak table's rows and columns on the peak-setting window.

namespace app {

// "Make" of slot k: the "Position" x as centre, width 1.5, and as height the floor of the y of
// the last point (in index order) whose x exceeds the position; then the redraw.
void make_peak(int k);
// "↓" of slot k (1 to 5): exchanges the centre, width and height texts with slot k + 1.
void move_peak_down(int k);
// "Del" of slot k: empties its centre, width and height, closes the gap, redraws.
void delete_peak(int k);
// The row lock box of slot k sets or clears the slot's three lock boxes.
void lock_row(int k);
// "As" of slot k: checking it with an empty "Alpha" field puts 0.2 there.
void asymmetric_clicked(int k);

void BUTTON5_ON();
void BUTTON6_ON();
void BUTTON7_ON();
void BUTTON8_ON();
void BUTTON9_ON();
void BUTTON10_ON();

void BUTTON11_ON();
void BUTTON12_ON();
void BUTTON13_ON();
void BUTTON14_ON();
void BUTTON15_ON();

void BUTTON16_ON();
void BUTTON17_ON();
void BUTTON18_ON();
void BUTTON19_ON();
void BUTTON20_ON();
void BUTTON21_ON();

void CHECK3_ON();
void CHECK4_ON();
void CHECK5_ON();
void CHECK6_ON();
void CHECK7_ON();
void CHECK8_ON();

// Column headers: "Center" (CHECK10), "Width" (CHECK11), "Height" (CHECK12).
void CHECK10_ON();
void CHECK11_ON();
void CHECK12_ON();

void CHECK9_ON();
void CHECK13_ON();
void CHECK14_ON();
void CHECK15_ON();
void CHECK16_ON();
void CHECK17_ON();

}  // namespace app
