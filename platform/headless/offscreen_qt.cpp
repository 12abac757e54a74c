#include "platform/headless/offscreen_qt.h"

#include <unistd.h>

#include <QGuiApplication>
#include <iostream>

namespace headless {

void end_on_fatal_qt_message(const QString& message) {
  // Without memory even the message's text may not be made: the fixed words go first.
  static const char kHead[] = "tessaly: cannot start: ";
  ssize_t written = ::write(STDERR_FILENO, kHead, sizeof kHead - 1);
  try {
    const QByteArray text = message.toLocal8Bit() + '\n';
    written = ::write(STDERR_FILENO, text.constData(), static_cast<std::size_t>(text.size()));
  } catch (...) {
    written = ::write(STDERR_FILENO, "\n", 1);
  }
  static_cast<void>(written);
  ::_exit(1);
}

namespace {

// Qt's own chatter (such as a missing runtime directory) would only get in the way of a
// script's or a batch's reader.
void quiet_qt_messages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) end_on_fatal_qt_message(message);
  if (type == QtCriticalMsg) std::cerr << message.toStdString() << '\n';
}

}  // namespace

void use_offscreen_qt() {
  // Text on pictures comes from Qt's font engine, which needs an application object but no
  // screen: the offscreen platform plugin gives the same pixels as the desktop.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(quiet_qt_messages);
}

}  // namespace headless
