#pragma once
// The open and save file dialogs and the filter lists they take.

#include <source_location>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/forms/objects.h"
#include "runtime/forms/platform.h"

namespace rt {

// What a dialog returns when the user cancels: the one character of code 27.
inline const std::string kCancelMark = "\x1B";

// "Config file(*.cfg);そのほか(*.*)" → two filters; the text between an entry's parentheses,
// blanks and tabs removed, split at commas. An entry without parentheses is error 5; an empty
// list stands for all files.
std::vector<FileFilter> parse_filter_list(
    std::string_view filters, std::source_location where = std::source_location::current());

// Option 0: the file must exist (open) / the user confirms replacing a file (save); option 1
// drops that rule. Title over 64 bytes, initial name over 260 bytes, filter list over 511 bytes
// or another option: error 5. Returns the chosen full path or kCancelMark. Neither dialog
// changes the current directory.
std::string open_file_dialog(ObjRef owner, std::string_view title, std::string_view initial_name,
                             std::string_view filters, int option,
                             std::source_location where = std::source_location::current());
std::string save_file_dialog(ObjRef owner, std::string_view title, std::string_view initial_name,
                             std::string_view filters, int option,
                             std::source_location where = std::source_location::current());

// The request a dialog call makes (exposed for tests): initial folder and name resolved
// against the current directory.
FileDialogRequest make_file_dialog_request(
    bool save, ObjRef owner, std::string_view title, std::string_view initial_name,
    std::string_view filters, int option,
    std::source_location where = std::source_location::current());

}  // namespace rt
