#include "platform/headless/offscreen_qt.h"

#include <QGuiApplication>
#include <iostream>

namespace headless {
namespace {

// Qt's own chatter (such as a missing runtime directory) would only get in the way of a
// script's or a batch's reader.
void quiet_qt_messages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toStdString() << '\n';
}

}  // namespace

void use_offscreen_qt() {
  // Text on pictures comes from Qt's font engine, which needs an application object but no
  // screen: the offscreen platform plugin gives the same pixels as the desktop.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(quiet_qt_messages);
}

}  // namespace headless
