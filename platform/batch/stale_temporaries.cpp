#include "platform/batch/stale_temporaries.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <optional>

namespace batch {
namespace {

// The process number in ".tessaly-PID-XXXXXXXXXXXX.tmp", or nothing for another name.
std::optional<pid_t> maker_of(const std::string& name) {
  static constexpr std::string_view kHead = ".tessaly-", kTail = ".tmp";
  if (name.size() < kHead.size() + kTail.size() || name.compare(0, kHead.size(), kHead) != 0 ||
      name.compare(name.size() - kTail.size(), kTail.size(), kTail) != 0)
    return std::nullopt;
  const char* first = name.data() + kHead.size();
  const char* last = name.data() + name.size() - kTail.size();
  long pid = 0;
  const auto [ptr, ec] = std::from_chars(first, last, pid);
  if (ec != std::errc() || ptr == first || ptr == last || *ptr != '-' || pid <= 0)
    return std::nullopt;
  for (const char* c = ptr + 1; c < last; ++c)
    if (!((*c >= '0' && *c <= '9') || (*c >= 'a' && *c <= 'f'))) return std::nullopt;
  return static_cast<pid_t>(pid);
}

}  // namespace

std::vector<std::string> remove_stale_temporaries(const std::string& folder) {
  std::vector<std::string> removed;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    const auto pid = maker_of(name);
    if (!pid || *pid == ::getpid() || !entry.is_regular_file(ec)) continue;
    // A process of another user answers EPERM: it runs.
    if (::kill(*pid, 0) == 0 || errno != ESRCH) continue;
    if (std::filesystem::remove(entry.path(), ec)) removed.push_back(name);
  }
  return removed;
}

}  // namespace batch
