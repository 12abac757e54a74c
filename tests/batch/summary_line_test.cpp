#include <gtest/gtest.h>

#include "platform/batch/output_names.h"
#include "platform/batch/progress.h"
#include "platform/batch/summary_line.h"

namespace {

TEST(BatchSummary, HeaderNamesEveryColumn) {
  EXPECT_EQ(
      batch::summary_header(),
      "file,status,error,points,figure,centre1,width1,height1,share1,centre2,width2,height2,share2,"
      "centre3,width3,height3,share3,centre4,width4,height4,share4,centre5,width5,height5,share5,"
      "centre6,width6,height6,share6,total");
}

TEST(BatchSummary, LinesHaveThirtyColumnsWhateverTheyHold) {
  batch::SpectrumSummary ok;
  ok.file = "a.bgd";
  ok.points = "301";
  ok.figure = "1234.5";
  ok.peaks[0] = {"285.2", "1.6", "1803.0", "58.55"};
  ok.peaks[1] = {"288.9", "2.0", "996.0", "41.44"};
  ok.total = "99.99";
  EXPECT_EQ(batch::summary_line(ok),
            "a.bgd,ok,,301,1234.5,285.2,1.6,1803.0,58.55,288.9,2.0,996.0,41.44,"
            ",,,,,,,,,,,,,,,,99.99");

  batch::SpectrumSummary failed;
  failed.file = "dir,with \"comma\"/b.bgd";
  failed.ok = false;
  failed.error = "67 Disk full, or the write failed.";
  const std::string line = batch::summary_line(failed);
  EXPECT_EQ(line,
            "\"dir,with \"\"comma\"\"/b.bgd\",error,\"67 Disk full, or the write failed.\",,,"
            ",,,,,,,,,,,,,,,,,,,,,,,,");
  // Outside quotes, the commas are exactly the 29 separators.
  int separators = 0;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') quoted = !quoted;
    if (c == ',' && !quoted) ++separators;
  }
  EXPECT_EQ(separators, 29);
}

TEST(BatchSummary, FieldsAreQuotedOnlyWhenTheyMustBe) {
  EXPECT_EQ(batch::csv_field("plain name.bgd"), "plain name.bgd");
  EXPECT_EQ(batch::csv_field("a,b"), "\"a,b\"");
  EXPECT_EQ(batch::csv_field("say \"x\""), "\"say \"\"x\"\"\"");
  EXPECT_EQ(batch::csv_field("two\nlines"), "\"two\nlines\"");
}

TEST(BatchOutputs, NamedAfterTheSpectrumWithoutItsExtension) {
  EXPECT_EQ(batch::output_stem("data/run1/s0001.bgd"), "s0001");
  EXPECT_EQ(batch::output_stem("s.2.txt"), "s.2");
  EXPECT_EQ(batch::output_stem("noext"), "noext");
  EXPECT_EQ(batch::output_stem("dir.d/.hidden"), ".hidden");
  EXPECT_FALSE(batch::first_stem_clash({"a/s1.bgd", "a/s2.bgd", "b/s3.txt"}));
  const auto clash = batch::first_stem_clash({"a/s1.bgd", "a/s2.bgd", "b/s1.txt"});
  ASSERT_TRUE(clash);
  EXPECT_EQ(clash->first, 0u);
  EXPECT_EQ(clash->second, 2u);
}

TEST(BatchProgress, SaysDoneRateAndTimeLeft) {
  EXPECT_EQ(batch::progress_text(0, 200, 0, 0), "0/200 spectra");
  EXPECT_EQ(batch::progress_text(50, 200, 0, 0.25),
            "50/200 spectra, 200.0 spectra/s, 0:00:01 left");
  EXPECT_EQ(batch::progress_text(100, 10100, 2, 1),
            "100/10100 spectra, 2 failed, 100.0 spectra/s, 0:01:40 left");
  EXPECT_EQ(batch::progress_text(1, 7201, 0, 1), "1/7201 spectra, 1.0 spectra/s, 2:00:00 left");
}

TEST(BatchProgress, DrawsOnlyWhenEnabledAndEndsItsLine) {
  std::ostringstream off, on;
  batch::Progress quiet(off, false, 2);
  quiet.spectrum_done(true);
  quiet.spectrum_done(false);
  quiet.finish();
  EXPECT_EQ(off.str(), "");

  batch::Progress shown(on, true, 2);
  shown.spectrum_done(true);
  shown.spectrum_done(false);  // the last one is always drawn
  shown.finish();
  const std::string text = on.str();
  EXPECT_EQ(text.front(), '\r');
  EXPECT_NE(text.find("2/2 spectra, 1 failed"), std::string::npos) << text;
  EXPECT_EQ(text.back(), '\n');
}

}  // namespace
