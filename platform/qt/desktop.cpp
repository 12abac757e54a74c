#include "platform/qt/desktop.h"

#include <QApplication>
#include <QEvent>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>

#include "app/shell/session.h"
#include "platform/actions/session_recorder.h"
#include "platform/qt/japanese_translation.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/user_actions.h"
#include "platform/text/qt_text_renderer.h"
#include "runtime/forms/events.h"

namespace {

// The file a session is recorded into, with its recorder.
class RecordFile {
 public:
  explicit RecordFile(std::string path) : path_(std::move(path)) {}
  ~RecordFile() {
    recorder_.reset();
    if (fd_ >= 0) ::close(fd_);
  }
  bool open() {
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0) return false;
    recorder_ = std::make_unique<actions::SessionRecorder>(fd_);
    recorder_->write_held_lines_on_crash();
    return true;
  }
  actions::SessionRecorder& recorder() { return *recorder_; }

 private:
  std::string path_;
  int fd_ = -1;
  std::unique_ptr<actions::SessionRecorder> recorder_;
};

}  // namespace

int run_desktop(int argc, char** argv, const std::string& record_path) {
  // The record is opened first: a session that cannot be recorded is not started.
  std::unique_ptr<RecordFile> record;
  if (!record_path.empty()) {
    record = std::make_unique<RecordFile>(record_path);
    if (!record->open()) {
      std::cerr << "tessaly: cannot write the record " << record_path << ": "
                << std::strerror(errno) << '\n';
      return 2;
    }
  }
  QApplication application(argc, argv);
  desktop::install_japanese_translation(application);
  // Qt adopts the user's locale for the C library; the run-time's number texts must not.
  std::setlocale(LC_NUMERIC, "C");
  // The program ends when the run-time says so (the main window closed), not with its last window.
  application.setQuitOnLastWindowClosed(false);

  int status = 0;
  {
    desktop::QtPlatform platform;
    platform_text::QtTextRenderer text_renderer;
    {
      app::Session session(&platform, &text_renderer);
      if (record) desktop::set_session_recorder(&record->recorder());
      if (!session.start()) {
        // Taking down what half started needs memory too: the process ends here.
        std::cerr << "tessaly: the program could not start (not enough memory?)" << std::endl;
        if (record) record->recorder().finish();
        std::_Exit(1);
      } else if (!rt::quit_requested()) {
        platform.schedule_dispatch();  // the events the start-up queued
        status = application.exec();
      }
      if (record) {
        record->recorder().finish();
        desktop::set_session_recorder(nullptr);
      }
    }  // the session takes the windows down while the platform is still installed
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  return status;
}
