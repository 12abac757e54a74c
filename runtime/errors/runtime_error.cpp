#include "runtime/errors/runtime_error.h"

#include "runtime/convert/integer_text.h"
#include "runtime/errors/error_log.h"

namespace rt {

RuntimeError::RuntimeError(int number, std::uint32_t location, std::string module, unsigned line)
    : number_(number), location_(location), module_(std::move(module)), line_(line) {
  what_ = module_ + " line " + decimal_text(line_) + ": error " + decimal_text(number_);
}

std::string module_name(const std::source_location& where) {
  std::string path = where.file_name();
  auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void raise_error(int number, std::uint32_t location, std::source_location where) {
  throw RuntimeError(number, location, module_name(where), where.line());
}

RuntimeError out_of_memory_error(std::source_location where) {
  return RuntimeError(kOutOfMemory, kProcedureOutOfMemory, module_name(where), where.line());
}

void record_api_error(int os_error) { error_log_api_error(os_error); }

}  // namespace rt
