#include "app/files/replacing_text_save.h"

#include "runtime/errors/runtime_error.h"
#include "runtime/files/file_channels.h"
#include "runtime/files/replacing_save.h"

namespace app {

void save_text_lines(const std::string& path, const std::vector<std::string>& lines) {
  rt::ReplacingSave save(path);
  rt::open_file(save.path(), rt::OpenMode::Output, 1);
  try {
    for (const std::string& line : lines) rt::write_line(1, line);
    rt::close_file(1);
  } catch (rt::RuntimeError& error) {
    // The write's own error is the one to report; a close that fails as well adds nothing.
    try {
      rt::close_file(1);
    } catch (const rt::RuntimeError&) {
    }
    save.abandon(error);
    throw;
  }
  save.commit();
}

}  // namespace app
