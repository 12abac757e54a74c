#include "runtime/errors/runtime_error.h"

#include "runtime/convert/integer_text.h"
#include "runtime/errors/error_locations.h"
#include "runtime/errors/error_log.h"
#include "runtime/errors/statement_place.h"

namespace rt {

namespace {

std::string place_text(const char* file, unsigned line) {
  return source_path(file) + ":" + decimal_text(line);
}

}  // namespace

RuntimeError::RuntimeError(int number, std::uint32_t location, std::source_location where)
    : number_(number), location_(location) {
  if (source_side(where.file_name()) == SourceSide::Program) {
    line_ = where.line();
    source_ = place_text(where.file_name(), where.line());
  } else {
    name_last_statement(place_text(where.file_name(), where.line()));
  }
  describe();
}

RuntimeError::RuntimeError(AtLastStatement, int number, std::uint32_t location,
                           std::source_location noticed_at)
    : number_(number), location_(location) {
  name_last_statement(place_text(noticed_at.file_name(), noticed_at.line()));
  describe();
}

void RuntimeError::name_last_statement(const std::string& raised_at) {
  const StatementPlace statement = last_statement();
  line_ = statement.line;
  source_ = (statement.file ? place_text(statement.file, statement.line) : std::string("?")) +
            " < " + raised_at;
}

void RuntimeError::set_detail(std::string detail) {
  detail_ = std::move(detail);
  describe();
}

void RuntimeError::describe() {
  what_ = module_ + " line " + decimal_text(line_) + ": error " + decimal_text(number_) + " (" +
          source_ + ")";
  if (!detail_.empty()) what_ += ": " + detail_;
}

void raise_error(int number, std::uint32_t location, std::source_location where) {
  throw RuntimeError(number, location, where);
}

RuntimeError out_of_memory_error(std::source_location where) {
  return RuntimeError(RuntimeError::AtLastStatement{}, kOutOfMemory,
                      location(ProcedureCheck::OutOfMemory), where);
}

void raise_error_with_detail(int number, std::string detail, std::uint32_t location,
                             std::source_location where) {
  RuntimeError error(number, location, where);
  error.set_detail(std::move(detail));
  throw error;
}

void record_api_error(int os_error) { error_log_api_error(os_error); }

}  // namespace rt
