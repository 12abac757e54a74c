#pragma once

namespace app {

// Closes gaps in the peak table: for each of slots 1 to 5 in turn whose centre is empty, the
// slots below move up one place (centre, width and height texts only; locks, "As" and
// "Alpha" stay with their rows). Each test shifts once, so of two adjacent empty slots one
// stays open.
void REORDER();

}  // namespace app
