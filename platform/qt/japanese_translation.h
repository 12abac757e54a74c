#pragma once
// The forms' titles and texts are Japanese; Qt's own texts (the buttons of dialogs and message
// boxes) follow them.

class QCoreApplication;

namespace desktop {

// Installs Qt's Japanese translation on the application for its lifetime; false when the
// translation is not installed (the buttons then stay in Qt's English).
bool install_japanese_translation(QCoreApplication& application);

}  // namespace desktop
