#include "platform/actions/session_recorder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../support/program_fixture.h"
#include "runtime/forms/control_values.h"

namespace {

using actions::ActionKind;
using actions::make_action;
using actions::make_point_action;

// A recorder writing into an unnamed temporary file, read back line by line.
class SessionRecorderTest : public testing_support::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    recorder = std::make_unique<actions::SessionRecorder>(fileno(file));
  }
  void TearDown() override {
    recorder.reset();
    std::fclose(file);
    ProgramTest::TearDown();
  }
  std::vector<std::string> lines() {
    std::vector<std::string> out;
    std::rewind(file);
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, file)) {
      std::string line(buffer);
      if (!line.empty() && line.back() == '\n') line.pop_back();
      out.push_back(line);
    }
    std::fseek(file, 0, SEEK_END);
    return out;
  }
  // Performs and records, as the desktop does; `buttons`: the mouse buttons held.
  void act(const actions::UserAction& action, int buttons = 0) {
    struct NoScript : actions::ActionContext {
      void queue_answer(const actions::UserAction&) override {}
      void write_line(const std::string&) override {}
      std::string clipboard_text() override { return {}; }
    } context;
    recorder->before_action(action);
    const bool queued = actions::perform_action(action, context);
    recorder->after_action(action, buttons, queued);
  }

  std::FILE* file = nullptr;
  std::unique_ptr<actions::SessionRecorder> recorder;
};

TEST_F(SessionRecorderTest, TypingIsOneSetLineWhenTheFieldIsLeftOrBeforeTheNextAction) {
  for (const char* typed : {"2", "28", "285"})
    act(make_action(ActionKind::Set, "FORM2.EDIT9", typed));
  EXPECT_TRUE(lines().empty());
  recorder->field_left("FORM2.EDIT10");  // another field: nothing of its own typed
  EXPECT_TRUE(lines().empty());
  recorder->field_left("FORM2.EDIT9");
  EXPECT_EQ(lines(), std::vector<std::string>{"set FORM2.EDIT9 285"});

  act(make_action(ActionKind::Set, "FORM2.EDIT9", "1"));
  act(make_action(ActionKind::Set, "FORM2.EDIT10", "2"));  // typing moved on to another field
  act(make_action(ActionKind::Click, "FORM2.CHECK18"));    // no event: written at once
  EXPECT_EQ(lines(), (std::vector<std::string>{"set FORM2.EDIT9 285", "set FORM2.EDIT9 1",
                                               "set FORM2.EDIT10 2", "click FORM2.CHECK18"}));
}

TEST_F(SessionRecorderTest, TheMouseIsRecordedOnTheGraphAndMovesOnlyWithAButtonHeld) {
  act(make_point_action(ActionKind::MouseMove, 1, 2));  // hovering: the program ignores it
  act(make_point_action(ActionKind::MouseDown, 10, 20, "FORM2.PICTURE2"));  // a swatch
  act(make_point_action(ActionKind::MouseDown, 10, 20), 1);
  act(make_point_action(ActionKind::MouseMove, 11, 21), 1);
  act(make_point_action(ActionKind::MouseMove, 12, 22), 2);   // the right button
  act(make_point_action(ActionKind::MouseMove, 13, 23), 16);  // the middle one
  act(make_point_action(ActionKind::MouseMove, 14, 24), 4);   // shift alone holds nothing
  act(make_point_action(ActionKind::MouseUp, 14, 24), 0);
  rt::run_pending_events();
  recorder->release_finished();
  EXPECT_EQ(lines(),
            (std::vector<std::string>{"mouse down 10 20", "mouse move 11 21", "mouse move 12 22",
                                      "mouse move 13 23", "mouse up 14 24"}));
}

TEST_F(SessionRecorderTest, AnActionsLineWaitsForItsProcedureSoThatItsDialogsAnswersComeFirst) {
  // The "OPEN" button's procedure opens a file dialog: here it only reports the answer given.
  rt::publish_procedure("BUTTON3_ON", [this] {
    recorder->answered(make_action(ActionKind::AnswerFile, {}, "/data/two peaks.bgd"));
  });
  rt::publish_procedure("BUTTON22_ON",
                        [this] { recorder->answered(make_action(ActionKind::AnswerCancel)); });

  act(make_action(ActionKind::Click, "FORM2.BUTTON3"));
  act(make_point_action(ActionKind::MouseDown, 10, 20));  // queued behind the click
  act(make_action(ActionKind::Click, "FORM2.CHECK18"));   // no event, but after them
  EXPECT_TRUE(lines().empty());

  ASSERT_TRUE(rt::run_one_event());  // OPEN ran: its answer, then its line
  recorder->release_finished();
  EXPECT_EQ(lines(),
            (std::vector<std::string>{"answer file /data/two peaks.bgd", "click FORM2.BUTTON3"}));

  rt::run_pending_events();
  act(make_action(ActionKind::Click, "FORM2.BUTTON22"));
  rt::run_pending_events();
  recorder->release_finished();
  EXPECT_EQ(lines(),
            (std::vector<std::string>{"answer file /data/two peaks.bgd", "click FORM2.BUTTON3",
                                      "mouse down 10 20", "click FORM2.CHECK18", "answer cancel",
                                      "click FORM2.BUTTON22"}));
}

TEST_F(SessionRecorderTest, TheEndWritesWhatStillWaits) {
  act(make_action(ActionKind::Click, "FORM2.BUTTON1"));  // the fit never ran: the window closed
  act(make_action(ActionKind::Set, "FORM2.EDIT43", "1"));
  act(make_action(ActionKind::Close, "MAINFORM"));
  EXPECT_TRUE(lines().empty());
  recorder->finish();
  EXPECT_EQ(lines(), (std::vector<std::string>{"click FORM2.BUTTON1", "set FORM2.EDIT43 1",
                                               "close MAINFORM"}));
}

TEST_F(SessionRecorderTest, EveryActionIsOneLineWhateverItsText) {
  // A pasted text with a line end would otherwise be read back as further actions.
  act(make_action(ActionKind::Set, "FORM2.EDIT9", "1.5\r\nclick FORM2.BUTTON28"));
  recorder->record(make_action(ActionKind::Set, "FORM2.EDIT10", "2\nmenu about"), false);
  recorder->answered(make_action(ActionKind::AnswerFile, {}, "/tmp/a\nmenu saveastext"));
  recorder->answered(make_action(ActionKind::AnswerFile, {}, "/tmp/tab\there.csv"));
  recorder->finish();
  EXPECT_EQ(lines(), (std::vector<std::string>{
                         "set FORM2.EDIT9 1.5", "set FORM2.EDIT10 2",
                         "# not recorded, its text holds a line end: answer file /tmp/a...",
                         "answer file /tmp/tab\there.csv"}));
  EXPECT_EQ(rt::get_text(rt::find_live_form("FORM2")->control("EDIT9")->ref()), "1.5");
}

// Runs `body` in a child process; its exit status, or 128 + the signal that ended it.
int in_child(const std::function<void()>& body) {
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    body();
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

std::string file_text(const std::string& path) {
  std::string text;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    for (int c; (c = std::fgetc(f)) != EOF;) text += static_cast<char>(c);
    std::fclose(f);
  }
  return text;
}

TEST_F(SessionRecorderTest, SignalsThatEndTheSessionWriteWhatIsHeld) {
  for (int signal_number : {SIGTERM, SIGHUP, SIGINT}) {
    SCOPED_TRACE(signal_number);
    const std::string path = ::testing::TempDir() + "tessaly_record_signal.script";
    const int status = in_child([&] {
      const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      actions::SessionRecorder child_recorder(fd);
      child_recorder.write_held_lines_on_crash();
      child_recorder.record(make_action(ActionKind::Click, "FORM2.CHECK18"), false);
      rt::post_event(rt::find_live_form("FORM2")->control("BUTTON1")->ref(), rt::EventKind::On);
      child_recorder.record(make_action(ActionKind::Click, "FORM2.BUTTON1"), true);
      child_recorder.typed(make_action(ActionKind::Set, "FORM2.EDIT43", "2"));
      std::raise(signal_number);
    });
    EXPECT_EQ(status, 128 + signal_number);
    EXPECT_EQ(file_text(path), "click FORM2.CHECK18\nclick FORM2.BUTTON1\nset FORM2.EDIT43 2\n");
  }
}

TEST_F(SessionRecorderTest, ARecordThatCannotGrowEndsWithAWholeLineAndSaysSoOnce) {
  const std::string path = ::testing::TempDir() + "tessaly_record_full.script";
  const std::string errors = ::testing::TempDir() + "tessaly_record_full.stderr";
  const int status = in_child([&] {
    // A file-size limit stands for a full disk: after 180 bytes of earlier lines, the second
    // line of 20 is cut off part-way.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{210, 210};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    if (!std::freopen(errors.c_str(), "w", stderr)) ::_exit(3);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (::write(fd, std::string(180, '\n').data(), 180) != 180) ::_exit(4);
    actions::SessionRecorder child_recorder(fd);
    for (int n = 0; n < 5; ++n)
      child_recorder.record(make_action(ActionKind::Click, "FORM2.CHECK18"), false);
    std::fflush(stderr);
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(file_text(path), std::string(180, '\n') + "click FORM2.CHECK18\n");
  const std::string said = file_text(errors);
  EXPECT_NE(said.find("the session record can no longer be written"), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
}

}  // namespace

namespace {

// A file chosen under the folder the recording started in is written relative to it, so the
// record replayed in another folder uses that folder's files; any other path stays whole.
TEST_F(SessionRecorderTest, FilesUnderTheRecordingsFolderAreWrittenRelativeToIt) {
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  {
    actions::SessionRecorder in_folder(fileno(out), "/home/ana/xps");
    for (const char* path :
         {"/home/ana/xps/c1s.csv", "/home/ana/xps/day 2/o1s.vms", "/home/ana/xps/../other/a.bgd",
          "/home/ana/xpsother/b.bgd", "/tmp/c.cfg"})
      in_folder.answered(make_action(ActionKind::AnswerFile, {}, path));
    in_folder.finish();
  }
  std::rewind(out);
  std::vector<std::string> written;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, out)) written.emplace_back(buffer);
  std::fclose(out);
  EXPECT_EQ(written, (std::vector<std::string>{
                         "answer file c1s.csv\n", "answer file day 2/o1s.vms\n",
                         "answer file /home/ana/xps/../other/a.bgd\n",
                         "answer file /home/ana/xpsother/b.bgd\n", "answer file /tmp/c.cfg\n"}));
}

}  // namespace
