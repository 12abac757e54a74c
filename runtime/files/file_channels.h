#pragma once
// Sequential text files under file numbers 1 to 255. Text is UTF-8 in the program and code page
// 932 in the file; a line ends with CR LF. Every failure is a run-time error.

#include <source_location>
#include <string>
#include <string_view>
#include <vector>

namespace rt {

inline constexpr int kMaxFileNumber = 255;

enum class OpenMode {
  Input,      // read; the file must exist
  Output,     // write; an existing file is emptied
  OutputNew,  // write; the file must not exist yet
  Append,     // read and write at the end, before a final Ctrl-Z if there is one
};

// The name is the platform's own: "?" and "*" are ordinary characters and the length limit is
// the file system's. It is made absolute against the current directory when opened.
void open_file(std::string_view name, OpenMode mode, int number,
               std::source_location where = std::source_location::current());

// Writes the text's bytes, then CR LF. A write the disk refuses half-way raises; the bytes
// that reached the file stay there.
void write_line(int number, std::string_view text,
                std::source_location where = std::source_location::current());

// The next field, for a text variable and for a numeric variable.
std::string read_text_field(int number,
                            std::source_location where = std::source_location::current());
double read_number_field(int number, std::source_location where = std::source_location::current());

bool end_of_file(int number, std::source_location where = std::source_location::current());

// Closing a number that is not open does nothing. A channel is always released, even when the
// system reports that data written earlier could not be kept (error 67, raised after that).
void close_file(int number, std::source_location where = std::source_location::current());
void close_all_files(std::source_location where = std::source_location::current());

// Ascending.
std::vector<int> open_file_numbers();

// Opening `name` for input reads these bytes from memory instead of the file system (the
// channel keeps a copy of its own). The fuzz targets load each input this way: writing a real
// file for every input would cost more than the load it serves. Holding a name again replaces
// its bytes.
void hold_memory_file(std::string name, std::string bytes);
// The bytes held under that name, or null.
const std::string* held_memory_file(std::string_view name);

// The absolute path the channel was opened with.
std::string file_full_path(int number,
                           std::source_location where = std::source_location::current());

}  // namespace rt
