#include "runtime/errors/runtime_error.h"

#include "runtime/convert/integer_text.h"
#include "runtime/errors/error_log.h"

namespace rt {

RuntimeError::RuntimeError(int number, std::uint32_t location, std::string module, unsigned line)
    : number_(number), location_(location), module_(std::move(module)), line_(line) {
  what_ = module_ + " line " + decimal_text(line_) + ": error " + decimal_text(number_);
}

void RuntimeError::set_detail(std::string detail) {
  detail_ = std::move(detail);
  what_ = module_ + " line " + decimal_text(line_) + ": error " + decimal_text(number_);
  if (!detail_.empty()) what_ += ": " + detail_;
}

std::string module_name(const std::source_location& where) {
  std::string path = where.file_name();
  auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void raise_error(int number, std::uint32_t location, std::source_location where) {
  throw RuntimeError(number, location, module_name(where), where.line());
}

void raise_error_with_detail(int number, std::string detail, std::uint32_t location,
                             std::source_location where) {
  RuntimeError error(number, location, module_name(where), where.line());
  error.set_detail(std::move(detail));
  throw error;
}

void record_api_error(int os_error) { error_log_api_error(os_error); }

}  // namespace rt
