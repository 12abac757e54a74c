#include "runtime/files/failed_write_signals.h"

#include <csignal>

namespace rt {

void ignore_failed_write_signals() {
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace rt
