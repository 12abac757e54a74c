#pragma once
// Qt without a screen: the "offscreen" platform plugin, and only Qt's critical messages on
// standard error (which carries the program's own reports). Call before the QGuiApplication.

class QString;

namespace headless {

// Qt's fatal messages (no platform plugin, which is also what a start without memory meets)
// would abort: the program ends with the message and status 1 instead.
[[noreturn]] void end_on_fatal_qt_message(const QString& message);

void use_offscreen_qt();

}  // namespace headless
