#include "platform/headless/headless_main.h"

#include <QGuiApplication>
#include <fstream>
#include <iostream>

#include "app/shell/session.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/script_driver.h"
#include "platform/text/qt_text_renderer.h"
#include "runtime/forms/events.h"

namespace headless {
namespace {

// Standard error carries the error reports and the script's diagnostics; Qt's own chatter
// (such as a missing runtime directory) would only get in the way of a script's reader.
void quiet_qt_messages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toStdString() << '\n';
}

}  // namespace

int run_headless(const std::string& script_path, int argc, char** argv) {
  std::ifstream file;
  if (script_path != "-") {
    file.open(script_path, std::ios::binary);
    if (!file) {
      std::cerr << "tessaly: cannot read the script " << script_path << '\n';
      return kScriptFailed;
    }
  }
  std::istream& script = script_path == "-" ? std::cin : file;

  // Text on pictures comes from Qt's font engine, which needs an application object but no
  // screen: the offscreen platform plugin gives the same pixels as the desktop.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(quiet_qt_messages);
  QGuiApplication app(argc, argv);
  platform_text::QtTextRenderer text_renderer;
  rt::set_text_renderer(&text_renderer);

  HeadlessPlatform platform(std::cerr);
  app::Session session(&platform, &text_renderer);
  ScriptDriver driver(platform, std::cout, std::cerr);
  session.start();
  rt::run_pending_events();
  return driver.run(script);
}

}  // namespace headless
