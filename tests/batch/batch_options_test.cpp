#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/actions/user_action.h"
#include "platform/batch/batch_options.h"

namespace {

using batch::parse_batch_command_line;

std::vector<std::string> words(std::initializer_list<const char*> list) {
  return {list.begin(), list.end()};
}

TEST(BatchCommandLine, OptionsAndFilesAnywhereBeforeTheEndMark) {
  const auto parsed =
      parse_batch_command_line(words({"--presses", "3", "set.cfg", "--no-header", "a.bgd",
                                      "--shard=2/5", "--quiet", "--", "--b.bgd", "-"}));
  ASSERT_TRUE(parsed.options) << parsed.error;
  const batch::BatchOptions& o = *parsed.options;
  EXPECT_EQ(o.presses, 3);
  EXPECT_FALSE(o.header);
  EXPECT_TRUE(o.quiet);
  EXPECT_EQ(o.shard_index, 2);
  EXPECT_EQ(o.shard_count, 5);
  EXPECT_EQ(o.settings, "set.cfg");
  EXPECT_EQ(o.spectra, words({"a.bgd", "--b.bgd", "-"}));
}

TEST(BatchCommandLine, DefaultsAreOnePressAHeaderAndTheWholeList) {
  const auto parsed = parse_batch_command_line(words({"set.cfg", "a.bgd"}));
  ASSERT_TRUE(parsed.options);
  EXPECT_EQ(parsed.options->presses, 1);
  EXPECT_TRUE(parsed.options->header);
  EXPECT_FALSE(parsed.options->raw || parsed.options->refine || parsed.options->csv);
  EXPECT_EQ(parsed.options->shard_count, 1);
  EXPECT_EQ(parsed.options->jobs, 0);  // one per core
  EXPECT_EQ(parse_batch_command_line(words({"--jobs", "3", "set.cfg", "a.bgd"})).options->jobs, 3);
}

TEST(BatchCommandLine, RawWindowAndOutputs) {
  const auto parsed = parse_batch_command_line(
      words({"--raw", "--window", "280.5:", "--linear", "--ends", "7", "--out", "o", "--csv",
             "--bmp", "--report", "--refine", "--figure", "figs", "s.cfg", "x.txt"}));
  ASSERT_TRUE(parsed.options) << parsed.error;
  const batch::BatchOptions& o = *parsed.options;
  EXPECT_TRUE(o.raw && o.linear && o.csv && o.bmp && o.report && o.refine);
  EXPECT_EQ(o.window_from, "280.5");
  EXPECT_EQ(o.window_to, "");
  EXPECT_EQ(o.ends, "7");
  EXPECT_EQ(o.out_dir, "o");
  EXPECT_EQ(o.figure_dir, "figs");
  EXPECT_FALSE(o.weight_counts);  // as the load sets it
}

TEST(BatchCommandLine, WeightsAreCountsOrNone) {
  for (const auto& [args, counts] : {std::pair{words({"--weights", "counts", "s.cfg", "a"}), true},
                                     std::pair{words({"--weights=none", "s.cfg", "a"}), false}}) {
    const auto parsed = parse_batch_command_line(args);
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->weight_counts, counts);
  }
  const auto parsed = parse_batch_command_line(words({"--weights", "poisson", "s.cfg", "a"}));
  EXPECT_FALSE(parsed.options);
  EXPECT_NE(parsed.error.find("--weights takes counts or none"), std::string::npos) << parsed.error;
}

TEST(BatchCommandLine, UsageErrorsSayWhatIsWrong) {
  struct Case {
    std::vector<std::string> args;
    const char* says;
  };
  const Case cases[] = {
      {words({}), "settings file is missing"},
      {words({"set.cfg"}), "no spectrum"},
      {words({"--fast", "s.cfg", "a"}), "unknown option --fast"},
      {words({"--presses", "s.cfg", "a"}), "--presses takes"},
      {words({"--presses", "-1", "s.cfg", "a"}), "--presses takes"},
      {words({"--presses", "2x", "s.cfg", "a"}), "--presses takes"},
      {words({"s.cfg", "a", "--presses"}), "--presses needs a value"},
      {words({"--quiet=yes", "s.cfg", "a"}), "takes no value"},
      {words({"--shard", "0/4", "s.cfg", "a"}), "--shard takes K/N"},
      {words({"--shard", "5/4", "s.cfg", "a"}), "--shard takes K/N"},
      {words({"--shard", "4", "s.cfg", "a"}), "--shard takes K/N"},
      {words({"--raw", "--window", "290:280", "s.cfg", "a"}), "FROM below TO"},
      {words({"--raw", "--window", "290", "s.cfg", "a"}), "FROM:TO"},
      {words({"--raw", "--window", "a:b", "s.cfg", "a"}), "two numbers"},
      {words({"--raw", "--window", "nan:", "s.cfg", "a"}), "two numbers"},
      {words({"--raw", "--window", "inf:", "s.cfg", "a"}), "two numbers"},
      {words({"--raw", "--window", ":inf", "s.cfg", "a"}), "two numbers"},
      {words({"--raw", "--window", "-inf:300", "s.cfg", "a"}), "two numbers"},
      {words({"--raw", "--window", "1e400:", "s.cfg", "a"}), "two numbers"},
      {words({"--raw", "--ends", "0", "s.cfg", "a"}), "--ends takes"},
      {words({"--linear", "s.cfg", "a"}), "need --raw"},
      {words({"--window", "1:2", "s.cfg", "a"}), "need --raw"},
      {words({"--csv", "s.cfg", "a"}), "need --out"},
      {words({"--out", "o", "s.cfg", "a"}), "--out needs --csv"},
      {words({"--figure=", "s.cfg", "a"}), "--figure needs a folder"},
      {words({"--jobs", "0", "s.cfg", "a"}), "--jobs takes"},
      {words({"--jobs=two", "s.cfg", "a"}), "--jobs takes"},
  };
  for (const Case& c : cases) {
    const auto parsed = parse_batch_command_line(c.args);
    EXPECT_FALSE(parsed.options) << c.says;
    EXPECT_NE(parsed.error.find(c.says), std::string::npos) << parsed.error;
  }
}

std::vector<std::string> step_lines(const std::vector<actions::UserAction>& steps) {
  std::vector<std::string> lines;
  for (const actions::UserAction& a : steps) lines.push_back(actions::format_action(a));
  return lines;
}

TEST(BatchCommandLine, TheBackgroundsOptionsBecomeTheRawWindowsFields) {
  auto parsed = parse_batch_command_line(
      words({"--raw", "--background", "Tougaard", "--tougaard-b=2900", "--kernel", "sio2",
             "--offsets", "1:2", "--excitation", "alka", "s.cfg", "x.txt"}));
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_EQ(step_lines(batch::background_steps(parsed.options->background)),
            words({"check FORM5.CHECK2 1", "set FORM5.EDIT5 2900", "set FORM5.EDIT6 542",
                   "set FORM5.EDIT7 -1", "set FORM5.EDIT8 275", "set FORM5.EDIT9 1",
                   "set FORM5.EDIT10 2", "set FORM5.EDIT11 1486.6"}));
  parsed = parse_batch_command_line(words({"--raw", "--background", "tougaard", "--kernel",
                                           "1643,1,0", "--excitation", "1253.6", "s", "x"}));
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_EQ(step_lines(batch::background_steps(parsed.options->background)),
            words({"check FORM5.CHECK2 1", "set FORM5.EDIT6 1643", "set FORM5.EDIT7 1",
                   "set FORM5.EDIT8 0", "set FORM5.EDIT11 1253.6"}));
  parsed = parse_batch_command_line(words({"--raw", "--background", "shirley", "s", "x"}));
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_EQ(step_lines(batch::background_steps(parsed.options->background)),
            words({"check FORM5.CHECK1 1"}));

  const std::pair<std::vector<std::string>, const char*> refused[] = {
      {words({"--raw", "--background", "polynomial", "s", "x"}), "--background takes linear"},
      {words({"--raw", "--background", "tougaard", "--tougaard-b", "-1", "s", "x"}),
       "--tougaard-b takes a number of 0 or more"},
      {words({"--raw", "--background", "tougaard", "--tougaard-b", "nan", "s", "x"}),
       "--tougaard-b takes"},
      {words({"--raw", "--background", "tougaard", "--kernel", "1643,1", "s", "x"}),
       "--kernel takes universal, sio2 or three numbers"},
      {words({"--raw", "--background", "tougaard", "--kernel", "a,b,c", "s", "x"}),
       "--kernel takes"},
      {words({"--raw", "--offsets", "2", "s", "x"}), "--offsets takes LOW:HIGH"},
      {words({"--raw", "--offsets", "-1:2", "s", "x"}), "--offsets takes LOW:HIGH"},
      {words({"--raw", "--excitation", "0", "s", "x"}), "--excitation takes an energy above 0"},
      {words({"--raw", "--excitation", "Cu", "s", "x"}), "--excitation takes"},
      {words({"--raw", "--tougaard-b", "2900", "s", "x"}), "need --background tougaard"},
      {words({"--raw", "--kernel", "sio2", "--background", "shirley", "s", "x"}),
       "need --background tougaard"},
      {words({"--raw", "--linear", "--background", "tougaard", "s", "x"}), "disagree"},
      {words({"--background", "tougaard", "s", "x"}), "need --raw"},
      {words({"--raw", "s", "x", "--excitation"}), "--excitation needs a value"},
  };
  for (const auto& [args, says] : refused) {
    const auto p = parse_batch_command_line(args);
    EXPECT_FALSE(p.options) << says;
    EXPECT_NE(p.error.find(says), std::string::npos) << p.error;
  }
}

TEST(BatchCommandLine, HelpWinsOverEverythingElse) {
  const auto parsed = parse_batch_command_line(words({"--presses", "2", "--help"}));
  EXPECT_TRUE(parsed.help);
  EXPECT_FALSE(parsed.options);
}

TEST(BatchShards, EveryPositionIsInExactlyOneShard) {
  for (int n : {1, 2, 3, 7}) {
    for (std::size_t position = 1; position <= 30; ++position) {
      int owners = 0;
      for (int k = 1; k <= n; ++k) owners += batch::in_shard(position, k, n) ? 1 : 0;
      EXPECT_EQ(owners, 1) << position << " of " << n;
    }
  }
  // K of N takes K, K+N, K+2N...: the last shard takes the multiples of N.
  EXPECT_TRUE(batch::in_shard(1, 1, 3));
  EXPECT_TRUE(batch::in_shard(4, 1, 3));
  EXPECT_TRUE(batch::in_shard(3, 3, 3));
  EXPECT_FALSE(batch::in_shard(3, 1, 3));
}

}  // namespace

namespace {

// A user learns the options from the README's table: every option the batch takes must have
// its row there, and --help must list it.
TEST(BatchCommandLine, TheReadmeAndHelpListEveryOption) {
  std::ifstream in(std::filesystem::path(TESSALY_SOURCE_DIR) / "README.md", std::ios::binary);
  ASSERT_TRUE(in);
  const std::string readme((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string table = readme.substr(readme.find("## Many spectra: `tessaly batch`"));
  const std::string usage = batch::batch_usage();
  for (const std::string& name : batch::batch_option_names()) {
    SCOPED_TRACE(name);
    EXPECT_NE(table.find("`" + name), std::string::npos);
    if (name != "--help") {
      EXPECT_NE(usage.find("  " + name + " "), std::string::npos);
    }
    // Each name the table knows is taken as an option, not as a file.
    const auto parsed = batch::parse_batch_command_line({name, "1:2", "s.cfg", "a"});
    EXPECT_EQ(parsed.error.find("unknown option"), std::string::npos) << parsed.error;
  }
}

}  // namespace
