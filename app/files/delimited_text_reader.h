#pragma once
// Two or more columns of numbers as instruments and spreadsheets export them.

#include <string>
#include <string_view>

#include "app/files/raw_points.h"

namespace app {

// Reads x from the first column and y from the second; further columns are ignored. Columns
// are separated by commas, semicolons, TABs or blanks (a run of blanks and TABs is one
// separator, and each may surround a comma or semicolon); in a line with a TAB or a semicolon a
// comma is no separator, so that decimal commas make no numbers rather than wrong ones. A field
// may stand in double quotes.
// Lines end with CR LF, LF or CR; a UTF-8 byte-order mark and empty lines are skipped. Every
// line before the first row of two numbers is a header and skipped; after it, every non-empty
// line must be such a row, except comment lines starting with "#".
// Errors (58 unless said), each naming `file_name` and the line: a row with one column only;
// a field that is no number; no row of two numbers at all; a value beyond single precision
// (6); a line over the length limit (15).
RawPoints read_delimited_text(std::string_view bytes, const std::string& file_name);

}  // namespace app
