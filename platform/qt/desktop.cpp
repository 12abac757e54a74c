#include "platform/qt/desktop.h"

#include <QApplication>
#include <QEvent>

#include <clocale>
#include <new>

#include "app/shell/program.h"
#include "platform/qt/qt_platform.h"
#include "platform/text/qt_text_renderer.h"
#include "runtime/errors/error_report.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/forms/events.h"
#include "runtime/forms/objects.h"
#include "runtime/picture/text_renderer.h"

int run_desktop(int argc, char** argv) {
  QApplication application(argc, argv);
  // Qt adopts the user's locale for the C library; the run-time's number texts must not.
  std::setlocale(LC_NUMERIC, "C");
  // The program ends when the run-time says so (the main window closed), not with its last window.
  application.setQuitOnLastWindowClosed(false);

  int status = 0;
  {
    desktop::QtPlatform platform;
    platform_text::QtTextRenderer text_renderer;
    rt::set_platform(&platform);
    rt::set_text_renderer(&text_renderer);
    rt::set_report_sink([&platform](const std::string& caption, const std::string& text) {
      platform.show_error_report(caption, text);
    });

    try {
      app::start_program();
    } catch (const rt::RuntimeError& error) {
      rt::report_error(error);
    } catch (const std::bad_alloc&) {
      rt::report_error(rt::out_of_memory_error());
    } catch (const rt::QuitRequested&) {
    }
    if (!rt::quit_requested()) {
      platform.schedule_dispatch();  // the events the start-up queued
      status = application.exec();
    }

    // Take the windows down while the platform that made them is still installed.
    rt::reset_objects();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    rt::set_report_sink(nullptr);
    rt::set_text_renderer(nullptr);
    rt::set_platform(nullptr);
  }
  return status;
}
