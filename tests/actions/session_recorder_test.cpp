#include "platform/actions/session_recorder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "../support/program_fixture.h"

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
  // Performs and records, as the desktop does.
  void act(const actions::UserAction& action) {
    struct NoScript : actions::ActionContext {
      void queue_answer(const actions::UserAction&) override {}
      void write_line(const std::string&) override {}
      std::string clipboard_text() override { return {}; }
    } context;
    if (action.kind != ActionKind::Set) recorder->flush_typed();
    const bool queued = actions::perform_action(action, context);
    if (action.kind == ActionKind::Set)
      recorder->typed(action);
    else
      recorder->record(action, queued);
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
