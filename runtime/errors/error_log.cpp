#include "runtime/errors/error_log.h"

#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

#include "runtime/convert/integer_text.h"
#include "runtime/errors/runtime_error.h"

namespace rt {
namespace {

std::string config_home() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return xdg;
  if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.config";
  return ".";
}

// Reads the one section we keep; lines of other sections are dropped on rewrite.
std::map<std::string, std::string> read_values(const std::string& path) {
  std::map<std::string, std::string> values;
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return values;
  std::string text;
  char buffer[4096];
  for (std::size_t n;
       (n = std::fread(buffer, 1, sizeof buffer, in)) > 0 && text.size() < (1u << 20);)
    text.append(buffer, n);
  std::fclose(in);
  bool in_section = false;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() == '[') {
      in_section = line == std::string("[") + kErrorLogSection + "]";
      continue;
    }
    auto eq = line.find('=');
    if (in_section && eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return values;
}

// Values are single-line texts and numbers; a line break inside one would split the file.
std::string one_line(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c == '\n' || c == '\r') c = ' ';
  return out;
}

void write_values(const std::map<std::string, std::string>& values) {
  std::error_code ec;
  std::filesystem::path path = error_log_path();
  std::filesystem::create_directories(path.parent_path(), ec);
  std::filesystem::path temp = path;
  // Per process and thread, so that batch processes or threads failing at the same moment do
  // not write one file.
  const auto thread = static_cast<std::int64_t>(
      std::hash<std::thread::id>{}(std::this_thread::get_id()) & 0x7fffffff);
  temp += ".";
  temp += decimal_text(static_cast<int>(::getpid()));
  temp += ".";
  temp += decimal_text(thread);
  temp += ".tmp";
  std::string text = std::string("[") + kErrorLogSection + "]\n";
  for (const auto& [name, value] : values) text += name + '=' + one_line(value) + '\n';
  // The log is best effort: a report must never fail because of it.
  std::FILE* out = std::fopen(temp.c_str(), "wb");
  if (!out) return;
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  if (std::fclose(out) != 0 || !written) {
    std::filesystem::remove(temp, ec);
    return;
  }
  std::filesystem::rename(temp, path, ec);
}

std::string local_time_text() {
  std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  return decimal_text(t.tm_year + 1900) + "/" + zero_padded(t.tm_mon + 1, 2) + "/" +
         zero_padded(t.tm_mday, 2) + " " + zero_padded(t.tm_hour, 2) + ":" +
         zero_padded(t.tm_min, 2) + ":" + zero_padded(t.tm_sec, 2);
}

}  // namespace

std::string error_log_path() { return config_home() + "/tessaly/error-log.ini"; }

std::map<std::string, std::string> error_log_read() { return read_values(error_log_path()); }

void error_log_api_error(int os_error) {
  auto values = read_values(error_log_path());
  values["APIERR"] = decimal_text(os_error);
  write_values(values);
}

void error_log_write(const RuntimeError& error) {
  auto values = read_values(error_log_path());
  values["MODL"] = error.module();
  values["LINE"] = decimal_text(error.line());
  values["CODE"] = decimal_text(error.number());
  values["FUNC"] = decimal_text(error.location() >> 8);
  values["INFO"] = decimal_text(error.location() & 0xFF);
  values["TIME"] = local_time_text();
  values["MODE"] = "独立型";
  values["RTL"] = "V6.30 L10";
  // For developers: the C++ place behind the line (not a value other installations write).
  values["SOURCE"] = error.source();
  write_values(values);
}

}  // namespace rt
