// How a byte stream splits into fields. One table, run through memory with buffers so small that
// every field straddles a refill, and through a real file channel.

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

#include "files_test_support.h"
#include "runtime/convert/cp932.h"
#include "runtime/files/field_reader.h"

namespace {

using namespace std::string_view_literals;

// 't' text field equal to `text`; 'n' number equal to `number`; 'E' at the end; 'M' not at the
// end; 'T' / 'N' a text / number read that raises error `error`.
struct Step {
  char op;
  std::string_view text = {};
  double number = 0;
  int error = 0;
};
Step T(std::string_view s) { return {'t', s}; }
Step N(double x) { return {'n', {}, x}; }
Step TErr(int e) { return {'T', {}, 0, e}; }
Step NErr(int e) { return {'N', {}, 0, e}; }
const Step kEnd{'E'};
const Step kMore{'M'};

struct Case {
  const char* name;
  std::string_view bytes;
  std::vector<Step> steps;
};

const std::vector<Case>& cases() {
  static const std::vector<Case> table = {
      {"three numbers, then the next line",
       "1.5,2.5,3.5\r\n4,5,6\r\n",
       {N(1.5), N(2.5), N(3.5), kMore, N(4), N(5), N(6), kEnd}},
      {"two reads of two run across the line end",
       "1.5,2.5,3.5\r\n7,8,9\r\n",
       {N(1.5), N(2.5), N(3.5), N(7), kMore}},
      {"colons count as commas", "1:2:3\r\n", {N(1), N(2), N(3), kEnd}},
      {"a record split over two lines", "1,2\r\n3\r\n", {N(1), N(2), N(3), kEnd}},
      {"CR alone ends a field", "1\r2", {N(1), N(2), kEnd}},
      {"drive-letter path unquoted", "C:\\data\\a.bgd\r\n", {T("C"), T("\\data\\a.bgd"), kEnd}},
      {"drive-letter path quoted", "\"C:\\data\\a.bgd\"\r\n", {T("C:\\data\\a.bgd"), kEnd}},
      {"header line into a number", "Wavelength,Intensity\r\n", {NErr(58)}},
      {"bare LF is an ordinary character", "1,2,3\n4,5,6\n", {N(1), N(2), NErr(58)}},
      {"bare LF stays in a text field", "a\nb\r\n", {T("a\nb"), kEnd}},
      {"empty file", "", {kEnd, TErr(54), NErr(54)}},
      {"CR LF at the end is the end", "1,2\r\n", {N(1), N(2), kEnd, NErr(54)}},
      {"an empty line after the last record", "1,2,3\r\n\r\n", {N(1), N(2), N(3), kMore, NErr(58)}},
      {"a blank after the last record", "1,2,3\r\n ", {N(1), N(2), N(3), kMore, NErr(58)}},
      {"final Ctrl-Z ends the field and the file", "1,2\x1A", {N(1), kMore, N(2), kEnd, TErr(54)}},
      {"only a Ctrl-Z", "\x1A", {kEnd, TErr(54)}},
      {"Ctrl-Z inside is data",
       "a\x1A"
       "b\r\n",
       {T("a\x1A"
          "b"),
        kEnd}},
      {"Ctrl-Z inside a number",
       "1\x1A"
       "2",
       {NErr(58)}},
      {"two Ctrl-Z: the first is data", "\x1A\x1A", {kMore, T("\x1A"), kEnd}},
      {"zero bytes are dropped", "1\0.5,\0\0 2\r\0\n"sv, {N(1.5), N(2), kEnd}},
      {"zero bytes in text", "a\0b\0"sv, {kMore, T("ab"), kEnd}},
      {"only zero bytes left", "\0\0"sv, {kEnd, TErr(54)}},
      {"only zero bytes into a number", "\0"sv, {kEnd, NErr(54)}},
      {"a record followed by one zero byte", "1,2,3\r\n\0"sv, {N(1), N(2), N(3), kEnd}},
      {"a last field followed by zero bytes", "1,2,3\0\0"sv, {N(1), N(2), N(3), kEnd}},
      {"zero bytes after a final Ctrl-Z", "1\x1A\0\0"sv, {N(1), kEnd, TErr(54)}},
      {"zero bytes between two Ctrl-Z", "\x1A\0\x1A"sv, {kMore, T("\x1A"), kEnd}},
      {"blank ends a number, next byte starts the next", "1 2,3\r\n", {N(1), N(2), N(3), kEnd}},
      {"blank ends a number, comma is its own", "1  ,2", {N(1), N(2), kEnd}},
      {"blank ends a number, CR LF is its own", "1  \r\n2", {N(1), N(2), kEnd}},
      {"blank ends a number, a word follows", "1 x", {N(1), T("x"), kEnd}},
      {"blanks inside text stay, around go", "  ab  cd  ,x", {T("ab  cd"), T("x"), kEnd}},
      {"empty text fields", ",,", {T(""), T(""), kEnd}},
      {"blank-only text field", "  \r\nabc\r\n", {T(""), T("abc"), kEnd}},
      {"empty numeric field", ",1", {NErr(58)}},
      {"a comma in a settings line shifts", "a,b\r\nc\r\n", {T("a"), T("b"), T("c"), kEnd}},
      {"quoted comma, colon, blanks", "\"a,b: c\"", {T("a,b: c"), kEnd}},
      {"quoted blanks are kept", "\"  pad  \" ,x", {T("  pad  "), T("x"), kEnd}},
      {"after the closing quote", "\"ab\"cd,e", {T("ab"), T("cd"), T("e"), kEnd}},
      {"quoted line end", "\"line\r\nbreak\"\r\n", {T("line\r\nbreak"), kEnd}},
      {"unterminated quote runs to the end", "\"open", {T("open"), kEnd}},
      {"unterminated quote stops at final Ctrl-Z", "\"open\x1A", {T("open"), kEnd}},
      {"empty quotes", "\"\"\r\n1", {T(""), N(1), kEnd}},
      {"quote into a number", "\"1\"", {NErr(58)}},
      {"quote in the middle is data", "ab\"c", {T("ab\"c"), kEnd}},
      {"number forms", "1e3,-.5,&HFF,+2", {N(1000), N(-0.5), N(255), N(2), kEnd}},
      {"number with trailing letters", "12abc", {NErr(58)}},
      {"tab is no delimiter", "1\t,2", {NErr(58)}},
      {"double-byte char with a 0x5C trail", "\x95\x5C,x", {T("表"), T("x"), kEnd}},
  };
  return table;
}

// Reads through memory with the given buffer size, or (size 0) through file number 1.
class Reading {
 public:
  virtual ~Reading() = default;
  virtual std::string text() = 0;
  virtual double number() = 0;
  virtual bool at_end() = 0;
};

class MemoryReading : public Reading {
 public:
  MemoryReading(std::string_view bytes, std::size_t buffer)
      : source_(bytes), reader_(source_, bytes.size(), 0, buffer) {}
  std::string text() override { return rt::cp932_to_utf8(reader_.read_text()); }
  double number() override { return reader_.read_number(); }
  bool at_end() override { return reader_.at_end(); }

 private:
  rt::MemorySource source_;
  rt::FieldReader reader_;
};

class ChannelReading : public Reading {
 public:
  explicit ChannelReading(const std::string& path) { rt::open_file(path, rt::OpenMode::Input, 1); }
  ~ChannelReading() override { rt::close_file(1); }
  std::string text() override { return rt::read_text_field(1); }
  double number() override { return rt::read_number_field(1); }
  bool at_end() override { return rt::end_of_file(1); }
};

class FieldReading : public files_test::TempDirTest,
                     public ::testing::WithParamInterface<std::size_t> {};

TEST_P(FieldReading, Table) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<Reading> reading;
    if (GetParam() == 0) {
      write_bytes("in.txt", c.bytes);
      reading = std::make_unique<ChannelReading>(path("in.txt"));
    } else {
      reading = std::make_unique<MemoryReading>(c.bytes, GetParam());
    }
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      SCOPED_TRACE("step " + std::to_string(i));
      const Step& s = c.steps[i];
      // An unexpected error fails this step only, with the case named.
      int error = error_of([&] {
        switch (s.op) {
          case 't':
            EXPECT_EQ(reading->text(), s.text);
            break;
          case 'n':
            EXPECT_EQ(reading->number(), s.number);
            break;
          case 'E':
            EXPECT_TRUE(reading->at_end());
            break;
          case 'M':
            EXPECT_FALSE(reading->at_end());
            break;
          case 'T':
            reading->text();
            break;
          case 'N':
            reading->number();
            break;
        }
      });
      EXPECT_EQ(error, s.error);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Buffers, FieldReading, ::testing::Values(1, 2, 3, 5, 4096),
                         [](const auto& instance) {
                           return "buffer" + std::to_string(instance.param);
                         });
INSTANTIATE_TEST_SUITE_P(File, FieldReading, ::testing::Values(0),
                         [](const auto&) { return std::string("channel"); });

TEST(FieldLimit, LongestFieldIsAcceptedOneMoreIsStringTooLong) {
  const std::string longest(rt::kMaxFieldBytes, 'x');
  struct Row {
    const char* name;
    std::string bytes;
    bool number;
    int error;
  } rows[] = {
      {"text at the limit", longest + ",", false, 0},
      {"text one over", longest + "x,", false, 15},
      {"trailing blanks do not count", longest + std::string(100000, ' ') + ",", false, 0},
      {"quoted one over", "\"" + longest + "x\"", false, 15},
      {"number one over", "1" + std::string(rt::kMaxFieldBytes, '0'), true, 15},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    rt::MemorySource source(r.bytes);
    rt::FieldReader reader(source, r.bytes.size());
    EXPECT_EQ(error_of([&] { r.number ? (void)reader.read_number() : (void)reader.read_text(); }),
              r.error);
  }
}

// A gigabyte made on demand: one head byte, then one byte repeated. Refusing a long field must
// not read it all, and no single request may exceed the fixed buffer.
class EndlessSource : public rt::ByteSource {
 public:
  EndlessSource(char head, char fill) : head_(head), fill_(fill) {}
  std::size_t read_at(std::uint64_t offset, char* out, std::size_t count,
                      const std::source_location&) override {
    largest_request = std::max(largest_request, count);
    total += count;
    std::fill(out, out + count, fill_);
    if (offset == 0 && count > 0) out[0] = head_;
    return count;
  }
  std::size_t largest_request = 0;
  std::uint64_t total = 0;

 private:
  char head_, fill_;
};

TEST(FieldLimit, HugeFieldIsRefusedWithBoundedReading) {
  struct Row {
    char head, fill;
    bool number;
  } rows[] = {{'x', 'x', false}, {'"', 'x', false}, {'7', '7', true}};
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(1, r.head) + r.fill);
    EndlessSource source(r.head, r.fill);
    rt::FieldReader reader(source, std::uint64_t{1} << 30);
    EXPECT_EQ(error_of([&] { r.number ? (void)reader.read_number() : (void)reader.read_text(); }),
              15);
    EXPECT_LE(source.largest_request, rt::kReadBufferBytes);
    EXPECT_LE(source.total, 2 * rt::kReadBufferBytes);
  }
}

// A file cut short by another program after it was opened ends where its data ends.
TEST(FieldReader, DataShorterThanRecordedSizeEndsThere) {
  rt::MemorySource source("1,2");
  rt::FieldReader reader(source, 1000);
  EXPECT_EQ(reader.read_number(), 1);
  EXPECT_EQ(reader.read_number(), 2);
  EXPECT_TRUE(reader.at_end());
}

}  // namespace
