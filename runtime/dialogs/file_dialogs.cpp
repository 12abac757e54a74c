#include "runtime/dialogs/file_dialogs.h"

#include <filesystem>

#include "runtime/convert/string_functions.h"
#include "runtime/errors/error_locations.h"
#include "runtime/errors/runtime_error.h"

namespace rt {
namespace {

std::vector<std::string> split_patterns(std::string_view inside) {
  std::vector<std::string> patterns;
  std::string current;
  for (char c : inside) {
    if (c == ' ' || c == '\t') continue;
    if (c == ',' || c == ';') {
      if (!current.empty()) patterns.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) patterns.push_back(current);
  return patterns;
}

std::string show(const FileDialogRequest& request) {
  Platform* p = platform();
  if (!p) return kCancelMark;
  auto chosen = p->file_dialog(request);
  return chosen ? *chosen : kCancelMark;
}

}  // namespace

std::vector<FileFilter> parse_filter_list(std::string_view filters, std::source_location where) {
  if (filters.empty()) filters = "すべてのﾌｧｲﾙ(*.*)";
  std::vector<FileFilter> out;
  std::size_t start = 0;
  while (start <= filters.size()) {
    std::size_t end = filters.find(';', start);
    if (end == std::string_view::npos) end = filters.size();
    std::string_view entry = filters.substr(start, end - start);
    std::size_t open = entry.find('(');
    std::size_t close = open == std::string_view::npos ? open : entry.find(')', open);
    if (close == std::string_view::npos)
      raise_error(kInvalidArgument, location(FileDialogCheck::UnclosedFilter), where);
    out.push_back(
        FileFilter{std::string(entry), split_patterns(entry.substr(open + 1, close - open - 1))});
    start = end + 1;
  }
  return out;
}

FileDialogRequest make_file_dialog_request(bool save, ObjRef owner, std::string_view title,
                                           std::string_view initial_name, std::string_view filters,
                                           int option, std::source_location where) {
  if (byte_length(title) > 64 || byte_length(initial_name) > 260 || byte_length(filters) > 511 ||
      (option != 0 && option != 1))
    raise_error(kInvalidArgument, location(FileDialogCheck::BadRequest), where);
  FileDialogRequest request;
  request.save = save;
  request.owner = owner;
  request.title = title;
  std::error_code ec;
  std::filesystem::path full =
      std::filesystem::absolute(std::filesystem::path(std::string(initial_name)), ec);
  if (ec) full = std::filesystem::path(std::string(initial_name));
  request.folder = full.parent_path().string();
  request.initial_name = full.filename().string();
  request.filters = parse_filter_list(filters, where);
  request.must_exist = !save && option == 0;
  request.confirm_replace = save && option == 0;
  return request;
}

std::string open_file_dialog(ObjRef owner, std::string_view title, std::string_view initial_name,
                             std::string_view filters, int option, std::source_location where) {
  return show(make_file_dialog_request(false, owner, title, initial_name, filters, option, where));
}

std::string save_file_dialog(ObjRef owner, std::string_view title, std::string_view initial_name,
                             std::string_view filters, int option, std::source_location where) {
  return show(make_file_dialog_request(true, owner, title, initial_name, filters, option, where));
}

}  // namespace rt
