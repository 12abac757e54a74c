#include <gtest/gtest.h>

#include <source_location>

#include "runtime/errors/error_log.h"
#include "runtime/errors/error_messages.h"
#include "runtime/errors/error_report.h"
#include "runtime/errors/runtime_error.h"

namespace {

rt::RuntimeError catch_error(int number, std::uint32_t location, unsigned* line) {
  try {
    *line = std::source_location::current().line() + 1;
    rt::raise_error(number, location);
  } catch (const rt::RuntimeError& e) {
    return e;
  }
  return rt::RuntimeError(0, 0, "", 0);
}

TEST(ErrorReport, HeadLineHasTheFixedLayout) {
  EXPECT_EQ(rt::error_head_line("MAIN.BAS", 2246, 5), "\r\nMAIN.BAS [2246行]:エラー[5]");
}

TEST(ErrorReport, NamesTheCallersFileAndLine) {
  unsigned line = 0;
  rt::RuntimeError e = catch_error(11, 0x1234, &line);
  EXPECT_EQ(e.number(), 11);
  EXPECT_EQ(e.module(), "error_report_test.cpp");
  EXPECT_EQ(e.line(), line);
  EXPECT_EQ(rt::error_report_text(e),
            "\r\nerror_report_test.cpp [" + std::to_string(line) + "行]:エラー[11]\r\nDivision by zero.");
}

TEST(ErrorReport, EveryErrorNumberHasAMessage) {
  for (int n : {5, 6, 7, 9, 11, 13, 15, 27, 28, 50, 51, 52, 54, 55, 57, 58, 59, 60, 61, 63, 64, 66, 67,
                71, 72, 73, 75, 1000, 1001, 1002, 1003, 1004, 1005, 1006, 1013, 1014}) {
    SCOPED_TRACE(n);
    ASSERT_NE(rt::error_message(n), nullptr);
  }
  EXPECT_EQ(rt::error_message(12345), nullptr);
}

TEST(ErrorReport, WithoutMessageTheReportIsTheHeadLineOnly) {
  rt::RuntimeError e(4321, 0, "a.cpp", 7);
  EXPECT_EQ(rt::error_report_text(e), "\r\na.cpp [7行]:エラー[4321]");
}

TEST(ErrorReport, LogsTheValuesAndShowsTheBox) {
  std::string caption, text;
  rt::set_report_sink([&](const std::string& c, const std::string& t) {
    caption = c;
    text = t;
  });
  rt::record_api_error(2);
  rt::report_error(rt::RuntimeError(63, 0x0305, "loader.cpp", 42));
  rt::set_report_sink(nullptr);

  EXPECT_EQ(caption, "tessaly.EXE");
  EXPECT_EQ(text, "\r\nloader.cpp [42行]:エラー[63]\r\nFile not found.");
  auto log = rt::error_log_read();
  EXPECT_EQ(log["MODL"], "loader.cpp");
  EXPECT_EQ(log["LINE"], "42");
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
    rt::report_error(rt::RuntimeError(6, 0, "inner.cpp", 1));
    rt::raise_error(7);
  });
  const int before = rt::reported_error_count();
  rt::report_error(rt::RuntimeError(5, 0, "outer.cpp", 1));
  rt::set_report_sink(nullptr);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(rt::reported_error_count(), before + 1);
  EXPECT_EQ(rt::error_log_read()["MODL"], "outer.cpp");
}

TEST(ErrorReport, LogGoesUnderTheConfigurationFolder) {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  ASSERT_NE(xdg, nullptr);
  EXPECT_EQ(rt::error_log_path(), std::string(xdg) + "/tessaly/error-log.ini");
}

}  // namespace
