// The code-page boundary: Japanese text must survive a round trip, and what cannot be
// represented must be marked, never silently dropped or allowed to eat a delimiter.

#include "runtime/convert/cp932.h"
#include "files_test_support.h"

namespace {

struct Pair {
  const char* utf8;
  std::string_view cp932;
};

constexpr Pair kRoundTrips[] = {
    {"abc,1.5:\"x\"", "abc,1.5:\"x\""},
    {"\\~", "\\~"},  // a backslash and a tilde, not the yen sign and the overline
    {"設定の保存", "\x90\xDD\x92\xE8\x82\xCC\x95\xDB\x91\xB6"},
    {"ｱｲｳｴｵ", "\xB1\xB2\xB3\xB4\xB5"},  // half-width katakana are single bytes
    {"表", "\x95\x5C"},                 // trail byte 0x5C
    {"①", "\x87\x40"},                  // a character only the Windows code page has
    {"そのほか(*.*)", "\x82\xBB\x82\xCC\x82\xD9\x82\xA9(*.*)"},
};

TEST(Cp932, RoundTrips) {
  for (const Pair& p : kRoundTrips) {
    SCOPED_TRACE(p.utf8);
    EXPECT_EQ(rt::utf8_to_cp932(p.utf8), p.cp932);
    EXPECT_EQ(rt::cp932_to_utf8(p.cp932), p.utf8);
  }
}

TEST(Cp932, UnrepresentableCharactersBecomeQuestionMarks) {
  constexpr Pair kRows[] = {
      {"caf\xC3\xA9", "caf?"},  // é
      {"a\xF0\x9F\x98\x80"
       "b",
       "a?b"},                  // an emoji: one mark for the whole character
      {"a\xFF,b", "a?,b"},      // malformed UTF-8: one mark per byte
      {"\xE8\xA1", "??"},       // a character cut short
      {"\xED\xA0\x80", "???"},  // an encoded surrogate
  };
  for (const Pair& p : kRows) {
    SCOPED_TRACE(p.cp932);
    EXPECT_EQ(rt::utf8_to_cp932(p.utf8), p.cp932);
  }
}

TEST(Cp932, BadBytesBecomeReplacementCharacters) {
  constexpr std::string_view kBad = "\xEF\xBF\xBD";
  struct Row {
    std::string_view cp932;
    std::string utf8;
  } rows[] = {
      {"\x80", std::string(kBad)},
      {"\xFD\xFE\xFF", std::string(kBad) + std::string(kBad) + std::string(kBad)},
      {"\x81 x", std::string(kBad) + " x"},    // a lead byte does not swallow the blank
      {"A\x81", "A" + std::string(kBad)},      // a lead byte at the very end
      {"\x85\x40,", std::string(kBad) + ","},  // a well-formed pair that is unassigned
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.utf8);
    EXPECT_EQ(rt::cp932_to_utf8(r.cp932), r.utf8);
  }
}

class Cp932Files : public files_test::TempDirTest {};

TEST_F(Cp932Files, WriteLineConvertsAndReadFieldConvertsBack) {
  rt::open_file(path("jp.cfg"), rt::OpenMode::Output, 1);
  rt::write_line(1, "設定の保存,ｱｲｳ");
  rt::write_line(1, "表:café");
  rt::close_file(1);
  EXPECT_EQ(read_bytes("jp.cfg"),
            "\x90\xDD\x92\xE8\x82\xCC\x95\xDB\x91\xB6,\xB1\xB2\xB3\r\n\x95\x5C:caf?\r\n");

  rt::open_file(path("jp.cfg"), rt::OpenMode::Input, 1);
  for (const char* field : {"設定の保存", "ｱｲｳ", "表", "caf?"})
    EXPECT_EQ(rt::read_text_field(1), field);
  EXPECT_TRUE(rt::end_of_file(1));
}

}  // namespace
