#pragma once
// Help > Manual: the README as the program was built with it, rendered in a window of its own.

namespace desktop {

// The README's Markdown, built into the program.
const char* manual_markdown();

// Shows the manual window (one for the whole run) and brings it to the front.
void show_manual_window();

}  // namespace desktop
