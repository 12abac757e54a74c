#pragma once
// Surface-analysis data transfer files (VAMAS, ISO 14976): one spectrum per block, every item
// on a line of its own and known only by its position.

#include <string>
#include <string_view>

#include "app/files/raw_points.h"

namespace app {

// Whether the bytes start (after a byte-order mark and empty lines) with the format's
// identifying line.
bool is_vamas(std::string_view bytes);

// Reads block `block` (from 1) of a regular-scan file: x = abscissa start + i * increment, y =
// the block's first corresponding variable. An abscissa labelled as kinetic energy becomes
// binding energy, the block's excitation energy minus the kinetic energy. Points are in file
// order. Blocks after the first may leave out the items that the file's exclusion list names;
// they then take the first block's values. A header that the standard's layout cannot read is
// tried once more without, and once with, the "number of spectral regions" line, which writers
// place differently.
// Errors, each naming `file_name` and the line: a block number the file does not have (5), a
// scan or experiment mode the reader does not handle (28), a file that ends inside the
// header or a block (54), a count or number that cannot be read (58), a value beyond single
// precision (6).
RawPoints read_vamas(std::string_view bytes, int block, const std::string& file_name);

}  // namespace app
