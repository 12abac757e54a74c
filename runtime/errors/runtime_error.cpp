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
    statement_file_ = where.file_name();
    statement_line_ = where.line();
  } else {
    name_last_statement();
    raised_file_ = where.file_name();
    raised_line_ = where.line();
  }
}

RuntimeError::RuntimeError(AtLastStatement, int number, std::uint32_t location,
                           std::source_location noticed_at)
    : number_(number), location_(location) {
  name_last_statement();
  raised_file_ = noticed_at.file_name();
  raised_line_ = noticed_at.line();
}

void RuntimeError::name_last_statement() {
  const StatementPlace statement = last_statement();
  line_ = statement.line;
  statement_file_ = statement.file;
  statement_line_ = statement.line;
}

const std::string& RuntimeError::source() const {
  if (!sourced_) {
    source_ = statement_file_ ? place_text(statement_file_, statement_line_) : std::string("?");
    if (raised_file_) source_ += " < " + place_text(raised_file_, raised_line_);
    sourced_ = true;
  }
  return source_;
}

void RuntimeError::set_detail(std::string detail) {
  detail_ = std::move(detail);
  described_ = false;
}

const char* RuntimeError::what() const noexcept {
  if (!described_) {
    try {
      what_ = module_ + " line " + decimal_text(line_) + ": error " + decimal_text(number_) + " (" +
              source() + ")";
      if (!detail_.empty()) what_ += ": " + detail_;
      described_ = true;
    } catch (...) {
      return "run-time error (no memory to describe it)";
    }
  }
  return what_.c_str();
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
