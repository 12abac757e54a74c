// Tessaly: the desktop program, or one of its modes chosen by the first argument. Arguments
// that are no mode (such as Qt's own -platform) are left to Qt. `tessaly batch ...` takes all
// the words after it as its own command line.

#include <unistd.h>

#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <new>
#include <string>

#include "platform/batch/batch_main.h"
#include "platform/headless/headless_main.h"
#include "platform/headless/offscreen_qt.h"
#include "platform/qt/desktop.h"
#include "runtime/files/failed_write_signals.h"

namespace {

// The version the windows show ("Tessaly Ver 2.00").
constexpr const char* kVersion = "2.00";

struct Mode {
  const char* name;      // the argument that chooses it
  const char* argument;  // what follows it, or nullptr
  const char* help;
  int (*start)(const std::string& argument, int argc, char** argv);
};

int print_help(const std::string&, int, char**);
int print_version(const std::string&, int, char**) {
  std::cout << "tessaly " << kVersion << '\n';
  return 0;
}

const Mode kModes[] = {
    {"--run", "SCRIPT", "perform an action script without a display (\"-\" reads standard input)",
     [](const std::string& script, int argc, char** argv) -> int {
       headless::run_headless(script, argc, argv);
     }},
    {"--record", "FILE",
     "start the desktop and write every user action to FILE as an action script",
     [](const std::string& file, int argc, char** argv) { return run_desktop(argc, argv, file); }},
    {"--help", nullptr, "show this help", print_help},
    {"--version", nullptr, "show the version", print_version},
};

int print_help(const std::string&, int, char**) {
  std::cout << "usage: tessaly [MODE]\n"
               "Without a mode, starts the desktop program.\n\nmodes:\n";
  for (const Mode& mode : kModes) {
    std::string head =
        std::string("  ") + mode.name + (mode.argument ? std::string(" ") + mode.argument : "");
    head.resize(std::max<std::size_t>(head.size() + 2, 22), ' ');
    std::cout << head << mode.help << '\n';
  }
  std::cout << "  batch [options] SETTINGS.cfg SPECTRUM...\n"
               "                      fit many spectra without a display (tessaly batch --help)\n";
  std::cout << "\nExit status of --run: 0 ran clean, 1 ran with run-time errors, 2 script error.\n";
  return 0;
}

// What cannot start must end with a message and a status, not a signal: Qt's fatal messages
// (no platform plugin, which is what a start without memory meets) would abort.
QtMessageHandler g_qt_default = nullptr;

void on_qt_message(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtFatalMsg) headless::end_on_fatal_qt_message(message);
  if (g_qt_default) g_qt_default(type, context, message);
}

constexpr char kNoMemory[] = "tessaly: not enough memory to start or to go on\n";

void say_no_memory() {
  const ssize_t written = ::write(STDERR_FILENO, kNoMemory, sizeof kNoMemory - 1);
  static_cast<void>(written);
}

// The shared libraries' own start (Qt's among them) runs before main, where an allocation that
// fails throws into no handler at all; so does one in a destructor or a callback that lets no
// exception through. Those end the program with the message, not an abort.
std::terminate_handler g_default_terminate = nullptr;

[[noreturn]] void on_terminate() {
  if (const std::exception_ptr exception = std::current_exception()) {
    try {
      std::rethrow_exception(exception);
    } catch (const std::bad_alloc&) {
      say_no_memory();
      ::_exit(1);
    } catch (...) {
    }
  }
  if (g_default_terminate) g_default_terminate();
  std::abort();
}

void install_terminate_handler() { g_default_terminate = std::set_terminate(on_terminate); }

// An executable's pre-initialisers run before any shared library's initialisers.
[[gnu::section(".preinit_array"),
  gnu::used]] void (*const g_install_terminate_handler)() = install_terminate_handler;

int start(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "batch") == 0) return batch::run_batch(argc, argv, 2);
  for (int i = 1; i < argc; ++i) {
    for (const Mode& mode : kModes) {
      if (std::strcmp(argv[i], mode.name) != 0) continue;
      if (mode.argument && i + 1 >= argc) {
        std::cerr << "tessaly: " << mode.name << " needs " << mode.argument
                  << " (tessaly --help)\n";
        return 2;
      }
      return mode.start(mode.argument ? argv[i + 1] : "", argc, argv);
    }
  }
  return run_desktop(argc, argv);
}

}  // namespace

int main(int argc, char** argv) {
  rt::ignore_failed_write_signals();
  g_qt_default = qInstallMessageHandler(on_qt_message);
  try {
    return start(argc, argv);
  } catch (const std::bad_alloc&) {
    // Outside any procedure (Qt's start, the windows' construction): nothing to report to but
    // the terminal.
    say_no_memory();
    return 1;
  }
}
