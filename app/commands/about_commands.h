#pragma once
// The commands of the About window.

namespace app {

// Menu "About": shows the About window, creating it again when the user has closed it.
void ABOUT_ON();

}  // namespace app
