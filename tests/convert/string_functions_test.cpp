#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "../support/run_time_errors.h"
#include "runtime/convert/string_functions.h"
#include "runtime/convert/trim.h"
#include "runtime/errors/runtime_error.h"

namespace {

// Texts are UTF-8; each comment gives the code-page bytes they stand for.
const std::string kWideBlank = "\xe3\x80\x80";  // U+3000, the double-byte blank 0x81 0x40
const std::string kA = "\xe3\x81\x82";          // あ, double-byte
const std::string kI = "\xe3\x81\x84";          // い, double-byte
const std::string kHalfKa = "\xef\xbd\xb6";     // ｶ, half-width katakana: one byte
const std::string kKanji = "\xe5\xb3\xb0";      // 峰, double-byte
const std::string kStray = "\xff";              // not UTF-8: one byte of its own

TEST(Trim, Table) {
  const struct {
    std::string in, out;
  } rows[] = {
      {kWideBlank + "12" + kWideBlank, "12"},
      {" \t5 ", "\t5"},
      {"  12.5  ", "12.5"},
      {"", ""},
      {"   ", ""},
      {kWideBlank + " " + kWideBlank, ""},
      {"a b", "a b"},
      {"a" + kWideBlank + "b", "a" + kWideBlank + "b"},
      {"\t", "\t"},
      {"x\n", "x\n"},
      {" " + kA + " ", kA},
      // A character whose last bytes look like part of a blank is no blank.
      {"\xe3\x81\x80\x80", "\xe3\x81\x80\x80"},
      {"1" + kStray + " ", "1" + kStray},
      {"\x80\x80 ", "\x80\x80"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("\"" + row.in + "\"");
    EXPECT_EQ(rt::trim(row.in), row.out);
  }
}

TEST(StringFunctions, Lengths) {
  const struct {
    std::string s;
    std::int32_t bytes, chars;
  } rows[] = {
      {"", 0, 0},
      {"abc", 3, 3},
      {kA, 2, 1},
      {kA + kI, 4, 2},
      {"x" + kA + "y", 4, 3},
      {kHalfKa, 1, 1},
      {kHalfKa + kA, 3, 2},
      {kWideBlank, 2, 1},
      {"\xc2\xb0", 2, 1},          // ° is double-byte in the code page
      {"\xf0\x9f\x98\x80", 2, 1},  // four UTF-8 bytes, one character
      {kStray + "a", 2, 2},
      {"\xe3\x81", 2, 2},      // a cut sequence: two stray bytes
      {"\xc0\x80", 2, 2},      // overlong form of NUL
      {"\xed\xa0\x80", 3, 3},  // a surrogate
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.bytes);
    EXPECT_EQ(rt::byte_length(row.s), row.bytes);
    EXPECT_EQ(rt::char_length(row.s), row.chars);
  }
}

// Counts are code-page bytes; a double-byte character that a count would split is left out.
TEST(StringFunctions, LeftRightMiddle) {
  const std::string mixed = "a" + kA + "b" + kI;  // bytes: a(1) あ(2,3) b(4) い(5,6)
  EXPECT_EQ(rt::left_part("hello", 2), "he");
  EXPECT_EQ(rt::left_part("hello", 0), "");
  EXPECT_EQ(rt::left_part("hello", 99), "hello");
  EXPECT_EQ(rt::left_part(mixed, 2), "a");
  EXPECT_EQ(rt::left_part(mixed, 3), "a" + kA);
  EXPECT_EQ(rt::left_part(mixed, 5), "a" + kA + "b");
  EXPECT_EQ(rt::right_part("hello", 2), "lo");
  EXPECT_EQ(rt::right_part("hello", 0), "");
  EXPECT_EQ(rt::right_part("hello", 99), "hello");
  EXPECT_EQ(rt::right_part(mixed, 1), "");
  EXPECT_EQ(rt::right_part(mixed, 2), kI);
  EXPECT_EQ(rt::right_part(mixed, 4), "b" + kI);  // あ would be split
  EXPECT_EQ(rt::right_part(mixed, 5), kA + "b" + kI);
  EXPECT_EQ(rt::right_part(kHalfKa + "x", 2), kHalfKa + "x");

  EXPECT_EQ(rt::middle_part("hello", 2, 3), "ell");
  EXPECT_EQ(rt::middle_part("hello", 6, 1), "");  // start beyond the end
  EXPECT_EQ(rt::middle_part("hello", 99, 1), "");
  EXPECT_EQ(rt::middle_part("hello", 4, 99), "lo");  // count beyond the rest
  EXPECT_EQ(rt::middle_part("hello", 1, 0), "");
  EXPECT_EQ(rt::middle_part("hello", 5, 2147483647), "o");
  EXPECT_EQ(rt::middle_part(mixed, 2, 2), kA);
  EXPECT_EQ(rt::middle_part(mixed, 3, 2), "b");  // starts on the trail byte of あ
  EXPECT_EQ(rt::middle_part(mixed, 2, 4), kA + "b");
  EXPECT_EQ(rt::middle_part(mixed, 4, 99), "b" + kI);

  EXPECT_EQ(rt::middle_chars(mixed, 2, 2), kA + "b");
  EXPECT_EQ(rt::middle_chars(mixed, 4, 1), kI);
  EXPECT_EQ(rt::middle_chars(mixed, 5, 1), "");
  EXPECT_EQ(rt::middle_chars(mixed, 3, 99), "b" + kI);
  EXPECT_EQ(rt::middle_chars(mixed, 1, 0), "");
  EXPECT_EQ(rt::middle_chars("abc", 2, 2147483647), "bc");
}

TEST(StringFunctions, Find) {
  const std::string mixed = "a" + kA + "b" + kA + "b";  // a(1) あ(2) b(4) あ(5) b(7)
  const struct {
    std::int32_t start;
    std::string s, t;
    std::int32_t at;
  } rows[] = {
      {1, "hello", "l", 3},
      {4, "hello", "l", 4},
      {5, "hello", "l", 0},
      {1, "hello", "lo", 4},
      {1, "hello", "hello!", 0},
      {1, "hello", "x", 0},
      {1, "", "x", 0},
      {1, mixed, "b", 4},
      {5, mixed, "b", 7},
      {1, mixed, kA, 2},
      {3, mixed, kA, 5},  // from the trail byte of the first あ
      {1, mixed, kA + "b", 2},
      // An empty pattern is found at any position within the string only.
      {1, "abc", "", 1},
      {3, "abc", "", 3},
      {4, "abc", "", 0},
      {99, "abc", "", 0},
      {1, "", "", 0},
      {4, mixed, "", 4},
      {8, mixed, "", 0},
      // A pattern that would match inside a character does not.
      {1, kA, "\x81", 0},
      {1, kA + "\x81", "\x81", 3},  // skips the byte inside あ, finds the stray one
      {1, kA, "\xe3\x81", 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.start << " \"" << row.s << "\" \"" << row.t << "\"");
    EXPECT_EQ(rt::find_text(row.start, row.s, row.t), row.at);
  }
}

TEST(StringFunctions, CharacterSpellsCodePageBytes) {
  EXPECT_EQ(rt::character({}), "");
  EXPECT_EQ(rt::character({27}), "\x1b");
  EXPECT_EQ(rt::character({13, 10}), "\r\n");
  EXPECT_EQ(rt::character({0}), std::string(1, '\0'));
  EXPECT_EQ(rt::character({65, 66}), "AB");
  EXPECT_EQ(rt::character({0xB6}), kHalfKa);
  EXPECT_EQ(rt::character({0x81, 0x40}), kWideBlank);
  EXPECT_EQ(rt::character({0x82, 0xA0}), kA);
  EXPECT_EQ(rt::character({0x82, 0xA0, 0x41}), kA + "A");
  // A byte that spells nothing alone becomes the replacement character.
  EXPECT_EQ(rt::character({0x82}), "\xef\xbf\xbd");
  EXPECT_EQ(rt::character({0x80}), "\xef\xbf\xbd");
  EXPECT_EQ(rt::character({0xFF, 0x41}),
            "\xef\xbf\xbd"
            "A");
}

TEST(StringFunctions, CompareInCodePageOrder) {
  const struct {
    std::string a, b;
    int sign;
  } rows[] = {
      {"", "", 0},
      {"abc", "abc", 0},
      {"abc", "abd", -1},
      {"ab", "abc", -1},  // a prefix is less
      {"", "a", -1},
      {"B", "a", -1},  // byte order, not alphabetical
      {"a", "\x7f", -1},
      {"z", kA, -1},         // ASCII before double-byte characters
      {kHalfKa, kA, 1},      // ｶ is 0xB6, あ is 0x82A0: the byte decides
      {kHalfKa, kKanji, 1},  // 峰 is 0x95F4: its lead byte 0x95 is below 0xB6
      {kA, kI, -1},
      {kWideBlank, kA, -1},  // 0x8140 before 0x82A0
      {"x" + kA, "x" + kA + "y", -1},
      {kA + "a", kA + "b", -1},
      {"\xf0\x9f\x98\x80", kKanji, 1},  // characters the code page lacks come after
      {kStray, "\xf0\x9f\x98\x80", 1},  // stray bytes after everything
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("\"" + row.a + "\" vs \"" + row.b + "\"");
    const int forward = rt::compare_text(row.a, row.b);
    const int backward = rt::compare_text(row.b, row.a);
    EXPECT_EQ((forward > 0) - (forward < 0), row.sign);
    EXPECT_EQ((backward > 0) - (backward < 0), -row.sign);
  }
}

TEST(StringFunctions, BadArgumentsAreErrorFive) {
  const struct {
    const char* what;
    std::function<void()> call;
  } rows[] = {
      {"left, negative count", [] { rt::left_part("abc", -1); }},
      {"right, negative count", [] { rt::right_part("abc", -1); }},
      {"middle, start 0", [] { rt::middle_part("abc", 0, 1); }},
      {"middle, negative count", [] { rt::middle_part("abc", 1, -1); }},
      {"middle chars, start 0", [] { rt::middle_chars("abc", 0, 1); }},
      {"middle chars, negative count", [] { rt::middle_chars("abc", 1, -1); }},
      {"find, start 0", [] { rt::find_text(0, "abc", "a"); }},
      {"find, start 0, empty pattern", [] { rt::find_text(0, "abc", ""); }},
      {"character 256",
       [] {
         rt::character({65, 256});
       }},
      {"character -1", [] { rt::character({-1}); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(error_of(row.call), rt::kInvalidArgument);
  }
}

}  // namespace
