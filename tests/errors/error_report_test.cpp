#include <gtest/gtest.h>

#include <source_location>
#include <string>

#include "runtime/errors/error_log.h"
#include "runtime/errors/error_messages.h"
#include "runtime/errors/error_report.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/errors/statement_place.h"
#include "tests/support/private_config_home.h"

namespace {

rt::RuntimeError catch_error(int number, std::uint32_t location, unsigned* line) {
  try {
    *line = std::source_location::current().line() + 1;
    rt::raise_error(number, location);
  } catch (const rt::RuntimeError& e) {
    return e;
  }
  return rt::RuntimeError(0, 0);
}

// An error raised at `where`, as it reaches the dispatcher.
rt::RuntimeError error_at(int number, std::uint32_t location,
                          std::source_location where = std::source_location::current()) {
  return rt::RuntimeError(number, location, where);
}

TEST(ErrorReport, HeadLineHasTheFixedLayout) {
  EXPECT_EQ(rt::error_head_line("MAIN.BAS", 2246, 5), "\r\nMAIN.BAS [2246行]:エラー[5]");
}

// The program is one module to its users; the C++ file and line stay for developers.
TEST(ErrorReport, NamesTheProgramModuleAndTheCallersLine) {
  unsigned line = 0;
  rt::RuntimeError e = catch_error(11, 0x1234, &line);
  EXPECT_EQ(e.number(), 11);
  EXPECT_EQ(e.module(), "MAIN.BAS");
  EXPECT_EQ(e.line(), line);
  EXPECT_EQ(e.source(), "tests/errors/error_report_test.cpp:" + std::to_string(line));
  EXPECT_EQ(rt::error_report_text(e),
            "\r\nMAIN.BAS [" + std::to_string(line) + "行]:エラー[11]\r\nDivision by zero.");
}

TEST(ErrorReport, WhereTheRunTimeOrALibraryRaisesTheLastStatementIsNamed) {
  rt::forget_statement();
  EXPECT_EQ(rt::last_statement().file, nullptr);
  EXPECT_EQ(error_at(5, 0).line(), static_cast<unsigned>(__LINE__));  // the program's own place

  // Nothing seen yet: line 0, and the place that raised for developers.
  rt::RuntimeError unseen(rt::RuntimeError::AtLastStatement{}, 7, 0,
                          std::source_location::current());
  EXPECT_EQ(unseen.module(), "MAIN.BAS");
  EXPECT_EQ(unseen.line(), 0u);
  EXPECT_EQ(unseen.source().rfind("? < tests/errors/error_report_test.cpp:", 0), 0u)
      << unseen.source();

  const unsigned statement = __LINE__ + 1;
  rt::note_statement(std::source_location::current());
  rt::RuntimeError late(rt::RuntimeError::AtLastStatement{}, 7, 0, std::source_location::current());
  EXPECT_EQ(late.line(), statement);
  EXPECT_EQ(late.source().rfind("tests/errors/error_report_test.cpp:" + std::to_string(statement) +
                                    " < tests/errors/error_report_test.cpp:",
                                0),
            0u)
      << late.source();
}

TEST(ErrorReport, SourceFilesAreSortedByWhereTheyBelong) {
  using rt::SourceSide;
  EXPECT_EQ(rt::source_side("/src/tessaly/app/graph/drawgraph.cpp"), SourceSide::Program);
  EXPECT_EQ(rt::source_side("../../app/commands/file_commands.cpp"), SourceSide::Program);
  EXPECT_EQ(rt::source_side("/src/tessaly/platform/headless/script_driver.cpp"),
            SourceSide::Program);
  EXPECT_EQ(rt::source_side("/src/tessaly/tests/app_files/x_test.cpp"), SourceSide::Program);
  EXPECT_EQ(rt::source_side("/src/tessaly/runtime/picture/raster.cpp"), SourceSide::RunTime);
  // A folder of the run-time and one of the tests named like the top folder of the forms.
  EXPECT_EQ(rt::source_side("/src/tessaly/runtime/forms/objects.cpp"), SourceSide::RunTime);
  EXPECT_EQ(rt::source_path("/src/tessaly/tests/forms/objects_test.cpp"),
            "tests/forms/objects_test.cpp");
  EXPECT_EQ(rt::source_side("/src/tessaly/forms/form_library.cpp"), SourceSide::Program);
  // A checkout inside a folder named like one of ours: the last such folder counts.
  EXPECT_EQ(rt::source_side("/home/app/tessaly/runtime/files/field_reader.cpp"),
            SourceSide::RunTime);
  EXPECT_EQ(rt::source_side("/usr/include/c++/12/bits/unique_ptr.h"), SourceSide::Library);
  EXPECT_EQ(rt::source_side("drawgraph.cpp"), SourceSide::Library);
  EXPECT_EQ(rt::source_path("/src/tessaly/app/graph/drawgraph.cpp"), "app/graph/drawgraph.cpp");
  EXPECT_EQ(rt::source_path("/usr/include/c++/12/bits/unique_ptr.h"),
            "/usr/include/c++/12/bits/unique_ptr.h");
}

TEST(ErrorReport, EveryErrorNumberHasAMessage) {
  for (int n :
       {5,  6,  7,  9,  11, 13, 15, 27, 28, 50,   51,   52,   54,   55,   57,   58,   59,   60,
        61, 63, 64, 66, 67, 71, 72, 73, 75, 1000, 1001, 1002, 1003, 1004, 1005, 1006, 1013, 1014}) {
    SCOPED_TRACE(n);
    ASSERT_NE(rt::error_message(n), nullptr);
  }
  EXPECT_EQ(rt::error_message(12345), nullptr);
}

TEST(ErrorReport, WithoutMessageTheReportIsTheHeadLineOnly) {
  const unsigned line = __LINE__ + 1;
  rt::RuntimeError e(4321, 0);
  EXPECT_EQ(rt::error_report_text(e), "\r\nMAIN.BAS [" + std::to_string(line) + "行]:エラー[4321]");
}

TEST(ErrorReport, LogsTheValuesAndShowsTheBox) {
  std::string caption, text;
  rt::set_report_sink([&](const std::string& c, const std::string& t) {
    caption = c;
    text = t;
  });
  rt::record_api_error(2);
  const unsigned line = __LINE__ + 1;
  rt::report_error(rt::RuntimeError(63, 0x0305));
  rt::set_report_sink(nullptr);

  EXPECT_EQ(caption, "tessaly.EXE");
  EXPECT_EQ(text, "\r\nMAIN.BAS [" + std::to_string(line) + "行]:エラー[63]\r\nFile not found.");
  auto log = rt::error_log_read();
  EXPECT_EQ(log["MODL"], "MAIN.BAS");
  EXPECT_EQ(log["LINE"], std::to_string(line));
  EXPECT_EQ(log["SOURCE"], "tests/errors/error_report_test.cpp:" + std::to_string(line));
  EXPECT_EQ(log["CODE"], "63");
  EXPECT_EQ(log["FUNC"], "3");
  EXPECT_EQ(log["INFO"], "5");
  EXPECT_EQ(log["MODE"], "独立型");
  EXPECT_EQ(log["RTL"], "V6.30 L10");
  EXPECT_EQ(log["APIERR"], "2");
  // "%d/%02d/%02d %02d:%02d:%02d"
  const std::string& time = log["TIME"];
  ASSERT_EQ(time.size(), 19u) << time;
  EXPECT_EQ(time[4], '/');
  EXPECT_EQ(time[7], '/');
  EXPECT_EQ(time[10], ' ');
  EXPECT_EQ(time[13], ':');
  EXPECT_EQ(time[16], ':');
}

TEST(ErrorReport, AnErrorWhileReportingIsIgnored) {
  int shown = 0;
  rt::set_report_sink([&](const std::string&, const std::string&) {
    ++shown;
    // A second error raised while the first is being reported must not be reported.
    rt::report_error(rt::RuntimeError(6, 0));
    rt::raise_error(7);
  });
  const int before = rt::reported_error_count();
  const unsigned line = __LINE__ + 1;
  rt::report_error(rt::RuntimeError(5, 0));
  rt::set_report_sink(nullptr);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(rt::reported_error_count(), before + 1);
  EXPECT_EQ(rt::error_log_read()["LINE"], std::to_string(line));
  EXPECT_EQ(rt::error_log_read()["CODE"], "5");
}

TEST(ErrorReport, LogGoesUnderTheConfigurationFolder) {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  ASSERT_NE(xdg, nullptr);
  EXPECT_EQ(rt::error_log_path(), std::string(xdg) + "/tessaly/error-log.ini");
}

}  // namespace
