#include "platform/headless/headless_main.h"

#include <QGuiApplication>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "app/shell/session.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/offscreen_qt.h"
#include "platform/headless/script_driver.h"
#include "platform/text/qt_text_renderer.h"
#include "runtime/forms/events.h"

namespace headless {

void run_headless(const std::string& script_path, int argc, char** argv) {
  std::ifstream file;
  if (script_path != "-") {
    file.open(script_path, std::ios::binary);
    if (!file) {
      std::cerr << "tessaly: cannot read the script " << script_path << '\n';
      std::exit(kScriptFailed);
    }
  }
  std::istream& script = script_path == "-" ? std::cin : file;

  use_offscreen_qt();
  int status = kRanClean;
  {
    QGuiApplication app(argc, argv);
    bool fonts_used = false;
    {
      platform_text::QtTextRenderer text_renderer;
      HeadlessPlatform platform(std::cerr);
      app::Session session(&platform, &text_renderer);
      ScriptDriver driver(platform, std::cout, std::cerr);
      if (!session.start()) {
        // Taking down what half started needs memory too, and may meet what is missing: the
        // process ends here, its report written.
        std::cerr << "tessaly: the program could not start (not enough memory?)" << std::endl;
        std::_Exit(kRanWithErrors);
      }
      rt::run_pending_events();
      status = driver.run(script);
      fonts_used = text_renderer.fonts_used();
    }
    // After a run that drew no text, taking Qt's application object down would read the whole
    // font configuration only to discard it (about 13 of an empty script's 31 ms); it does
    // nothing else a run needs, so the process ends without it.
    if (!fonts_used) std::exit(status);
  }
  std::exit(status);
}

}  // namespace headless
