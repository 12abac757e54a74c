// The line rules of the raw readers: delimited text and VAMAS blocks, what they accept and
// the error (number and the file line named) for what they refuse.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/files/delimited_text_reader.h"
#include "app/files/vamas_reader.h"
#include "runtime/errors/runtime_error.h"

namespace {

struct Refusal {
  int number = 0;
  std::string detail;
};

template <class Read>
Refusal refusal_of(Read&& read) {
  try {
    read();
  } catch (const rt::RuntimeError& e) {
    return {e.number(), e.detail()};
  }
  return {};
}

struct TextCase {
  const char* name;
  std::string bytes;
  std::vector<double> x, y;
  std::vector<int> lines;
};

TEST(DelimitedText, SeparatorsLineEndsHeadersAndComments) {
  const TextCase cases[] = {
      {"commas, CR LF", "1,10\r\n2,20\r\n", {1, 2}, {10, 20}, {1, 2}},
      {"TABs, LF, further columns ignored", "1\t10\tx\n2\t20\t7\n", {1, 2}, {10, 20}, {1, 2}},
      {"semicolons, CR", "1;10\r2;20\r", {1, 2}, {10, 20}, {1, 2}},
      {"blank runs and blanks around commas", "  1   10\n2 , 20 ,\n", {1, 2}, {10, 20}, {1, 2}},
      {"commas with blanks after them",
       "1, 10\n2 ,20\n3,30 # note\n",
       {1, 2, 3},
       {10, 20, 30},
       {1, 2, 3}},
      {"BOM, header, empty lines, no final line end",
       "\xEF\xBB\xBF"
       "Binding Energy (eV),Counts\n\n285.5,1.5e3\n\n-2,+7",
       {285.5, -2},
       {1500, 7},
       {3, 5}},
      {"quoted fields", "\"x\",\"y\"\n\"1.5\",\"3\"\n", {1.5}, {3}, {2}},
      {"a one-number header line before the data", "1001\n1,2\n", {1}, {2}, {2}},
      {"comment lines after the data", "1,2\n# end of region\n3,4\n", {1, 3}, {2, 4}, {1, 3}},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.name);
    const app::RawPoints p = app::read_delimited_text(c.bytes, "a.csv");
    EXPECT_EQ(p.x, c.x);
    EXPECT_EQ(p.y, c.y);
    EXPECT_EQ(p.line, c.lines);
  }
}

TEST(DelimitedText, RefusalsNameTheLine) {
  const struct {
    const char* name;
    std::string bytes;
    int number;
    const char* detail;
  } cases[] = {
      {"one column only", "x\n1\n2\n", rt::kBadNumericField, "a.csv line 2 holds one column only"},
      {"one column after the data", "1,2\n3\n", rt::kBadNumericField,
       "a.csv line 2 holds one column only"},
      {"text after the data", "1,2\n3,abc\n", rt::kBadNumericField,
       "a.csv line 2: \"abc\" is not a number"},
      {"an empty field", "1,2\n3,,4\n", rt::kBadNumericField, "a.csv line 2: an empty field"},
      {"decimal commas are no numbers", "1,5;2\n3,5\t4\n", rt::kBadNumericField,
       "no row of two numbers"},
      {"a decimal comma after the data", "1;2\n3,5;4\n", rt::kBadNumericField,
       "line 2: \"3,5\" is not a number"},
      {"blank-separated decimal commas", "285,25 1200,5\n284,25 1300\n", rt::kBadNumericField,
       "no row of two numbers"},
      {"a blank-separated decimal comma after the data", "285 1200\n284,25  1300,5\n",
       rt::kBadNumericField, "line 2: \"284,25\" is not a number"},
      {"no numbers at all", "Energy,Counts\n", rt::kBadNumericField,
       "a.csv holds no row of two numbers"},
      {"an empty file", "", rt::kBadNumericField, "a.csv holds no row of two numbers"},
      {"inf and nan are no numbers", "inf,1\nnan,2\n", rt::kBadNumericField,
       "no row of two numbers"},
      {"beyond single precision", "1,2\n3,1e39\n", rt::kOverflow, "a.csv line 2: "},
      {"rounding to infinity as a single", "1,2\n3,3.4028236e38\n", rt::kOverflow,
       "a.csv line 2: "},
      {"a line over the limit", "1,2\n" + std::string(70000, '7') + "\n", rt::kStringTooLong,
       "a.csv line 2 is longer than 65536 bytes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Refusal r = refusal_of([&] { app::read_delimited_text(c.bytes, "a.csv"); });
    EXPECT_EQ(r.number, c.number);
    EXPECT_NE(r.detail.find(c.detail), std::string::npos) << r.detail;
  }
}

// The readers keep what the program's numbers keep: a value that rounds to the greatest single
// is read, as typing it or a record file gives it, and only one that rounds to infinity is
// refused.
TEST(DelimitedText, ValuesUpToTheSingleOverflowAreRead) {
  const app::RawPoints p = app::read_delimited_text("1,3.4028235e38\n2,-3.4028235e38\n", "a.csv");
  EXPECT_EQ(p.y, (std::vector<double>{3.4028235e38, -3.4028235e38}));
}

// A small regular-scan file: NORM mode, one experimental variable, each block as given.
struct Block {
  std::string abscissa = "Kinetic Energy";
  std::string start = "1480", increment = "0.5";
  int variables = 1;
  std::vector<std::string> values = {"10", "20", "30"};
  std::string excitation = "1486.6";
};

std::string vamas(const std::vector<Block>& blocks, const std::vector<std::string>& list = {},
                  const std::string& scan = "REGULAR") {
  std::vector<std::string> l = {
      "VAMAS Surface Chemical Analysis Standard Data Transfer Format 1988 May 4",
      "lab",
      "instrument",
      "operator",
      "experiment",
      "1",
      "a comment",
      "NORM",
      scan,
      "1",
      "1",
      "Etch time",
      "s"};
  l.push_back(std::to_string(list.empty() ? 0 : -static_cast<int>(list.size())));
  l.insert(l.end(), list.begin(), list.end());
  l.insert(l.end(), {"0", "0", "0", std::to_string(blocks.size())});
  bool first = true;
  for (const Block& b : blocks) {
    auto has = [&](const char* item) {
      for (const std::string& s : list)
        if (s == item) return first;
      return true;
    };
    l.insert(l.end(), {"C 1s", "sample"});
    if (has("1")) l.push_back("2026");
    l.insert(l.end(), {"12", "9", "16", "30", "0", "0"});
    l.insert(l.end(), {"0", "XPS", "0", "Al"});
    if (has("14")) l.push_back(b.excitation);
    l.insert(l.end(), {"300", "1", "1", "54.7", "0", "FAT", "20", "1", "4.5", "0", "700", "300",
                       "0", "0", "C", "1s", "-1"});
    l.insert(l.end(), {b.abscissa, "eV", b.start, b.increment, std::to_string(b.variables)});
    for (int v = 0; v < b.variables; ++v) l.insert(l.end(), {"Intensity", "d"});
    l.insert(l.end(), {"pulse counting", "0.1", "1", "0", "0", "0", "0", "0"});
    l.push_back(std::to_string(b.values.size()));
    for (int v = 0; v < b.variables; ++v) l.insert(l.end(), {"0", "1"});
    l.insert(l.end(), b.values.begin(), b.values.end());
    first = false;
  }
  l.push_back("end of experiment");
  std::string out;
  for (const std::string& s : l) out += s + "\r\n";
  return out;
}

TEST(Vamas, KineticEnergyBecomesBindingEnergy) {
  const std::string file = vamas({Block{}});
  EXPECT_TRUE(app::is_vamas("\xEF\xBB\xBF\n" + file));
  EXPECT_FALSE(app::is_vamas("1,2\n"));
  const app::RawPoints p = app::read_vamas(file, 1, "s.vms");
  EXPECT_EQ(p.x, (std::vector<double>{1486.6 - 1480, 1486.6 - 1480.5, 1486.6 - 1481}));
  EXPECT_EQ(p.y, (std::vector<double>{10, 20, 30}));
}

TEST(Vamas, BlocksVariablesAndInheritedItems) {
  Block binding;
  binding.abscissa = "Binding Energy";
  binding.start = "290";
  binding.increment = "-0.25";
  Block two;
  two.variables = 2;
  two.values = {"1", "100", "2", "200"};
  const std::string file = vamas({Block{}, binding, two});
  EXPECT_EQ(app::read_vamas(file, 2, "s.vms").x, (std::vector<double>{290, 289.75, 289.5}));
  // Two corresponding variables, interleaved: the first is the spectrum.
  const app::RawPoints p = app::read_vamas(file, 3, "s.vms");
  EXPECT_EQ(p.y, (std::vector<double>{1, 2}));
  EXPECT_EQ(p.x.size(), 2u);
  // Item 14 (the excitation energy) and the date left out of the later blocks: block 2 takes
  // the first block's excitation.
  Block first;
  first.excitation = "1253.6";
  const std::string excluded = vamas({first, Block{}}, {"1", "14"});
  EXPECT_EQ(app::read_vamas(excluded, 2, "s.vms").x.front(), 1253.6 - 1480);
}

TEST(Vamas, TheRegionsLineMayBeMissing) {
  std::string file = vamas({Block{}});
  // The header's "1" after REGULAR is the number of spectral regions; some writers leave it out.
  const std::size_t regions = file.find("REGULAR\r\n1\r\n") + 9;
  file.erase(regions, 3);
  EXPECT_EQ(app::read_vamas(file, 1, "s.vms").y, (std::vector<double>{10, 20, 30}));
  // Others write it in every mode, also where the standard has none (NOEXP).
  std::string noexp = vamas({Block{}});
  noexp.replace(noexp.find("\r\nNORM\r\n") + 2, 4, "NOEXP");
  EXPECT_EQ(app::read_vamas(noexp, 1, "s.vms").y, (std::vector<double>{10, 20, 30}));
  // Without the line it is the standard's layout in that mode.
  noexp.erase(noexp.find("REGULAR\r\n1\r\n") + 9, 3);
  EXPECT_EQ(app::read_vamas(noexp, 1, "s.vms").y, (std::vector<double>{10, 20, 30}));
}

TEST(Vamas, RefusalsNameTheLine) {
  Block uneven;
  uneven.variables = 2;
  uneven.values = {"1", "2", "3"};
  Block bad_value;
  bad_value.values = {"10", "x", "30"};
  std::string cut = vamas({Block{}});
  cut.resize(cut.rfind("\r\n30\r\n"));
  const struct {
    const char* name;
    std::string bytes;
    int block, number;
    const char* detail;
  } cases[] = {
      {"no such block", vamas({Block{}}), 2, rt::kInvalidArgument,
       "the file has 1 block, so there is no block 2"},
      {"irregular scan", vamas({Block{}}, {}, "IRREGULAR"), 1, rt::kNotSupported,
       "s.vms line 9: scan mode"},
      {"cut short", cut, 1, rt::kReadPastEnd, "the file is cut short"},
      {"values not shared evenly", vamas({uneven}), 1, rt::kBadNumericField,
       "3 ordinate values cannot be shared"},
      {"an ordinate that is no number", vamas({bad_value}), 1, rt::kBadNumericField,
       "\"x\" is not a number"},
      {"a count that is no number",
       [] {
         std::string s = vamas({Block{}});
         return s.replace(s.find("\r\n1\r\na comment"), 3, "\r\nx");
       }(),
       1, rt::kBadNumericField, "s.vms line 6: \"x\" is not a valid number of comment lines"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Refusal r = refusal_of([&] { app::read_vamas(c.bytes, c.block, "s.vms"); });
    EXPECT_EQ(r.number, c.number);
    EXPECT_NE(r.detail.find(c.detail), std::string::npos) << r.detail;
  }
}

}  // namespace
