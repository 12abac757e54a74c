#include "platform/headless/headless_main.h"

#include <QGuiApplication>
#include <fstream>
#include <iostream>
#include <new>

#include "app/shell/program.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/script_driver.h"
#include "platform/headless/script_error.h"
#include "platform/text/qt_text_renderer.h"
#include "runtime/errors/error_report.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/events.h"
#include "runtime/forms/platform.h"
#include "runtime/picture/text_renderer.h"

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
  rt::set_platform(&platform);
  rt::set_report_sink([&platform](const std::string& caption, const std::string& text) {
    platform.show_error_report(caption, text);
  });

  ScriptDriver driver(platform, std::cout, std::cerr);
  try {
    app::start_program();
    rt::run_pending_events();
  } catch (const rt::RuntimeError& e) {
    rt::report_error(e);
  } catch (const std::bad_alloc&) {
    rt::report_error(rt::out_of_memory_error());
  }
  int status = driver.run(script);
  rt::set_platform(nullptr);
  rt::set_text_renderer(nullptr);
  return status;
}

}  // namespace headless
