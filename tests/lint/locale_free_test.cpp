// The run-time and the application convert numbers only with std::to_chars / std::from_chars.
// Qt sets the process locale at start-up, after which the C and iostream conversions follow the
// user's decimal comma; this test keeps every locale-dependent function out of runtime/ and app/.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace {

struct Banned {
  const char* name;
  std::regex pattern;
};

const std::vector<Banned>& banned() {
  static const std::vector<Banned> list = [] {
    std::vector<Banned> out;
    auto add = [&](const char* name, const char* pattern) {
      out.push_back({name, std::regex(pattern)});
    };
    add("printf family", R"(\b(v?(s|sn|f)?printf|(s|f|v|vs|vf)?scanf)\b)");
    add("C number parsing", R"(\b(strto(d|f|ld|l|ll|ul|ull)|ato(f|i|l|ll))\b)");
    add("std::sto* number parsing", R"(\bsto(d|f|ld|i|l|ll|ul|ull)\s*\()");
    add("std::to_string", R"(\bto_w?string\b)");
    add("<sstream>", R"(#\s*include\s*<sstream>)");
    add("string streams", R"(\b(o|i)?stringstream\b)");
    add("console streams", R"(\bstd\s*::\s*w?(cout|cerr|clog)\b|\bw?(cout|cerr|clog)\s*<<)");
    add("process locale", R"(\b(setlocale|localeconv|imbue)\b|\bstd\s*::\s*locale\b)");
    return out;
  }();
  return list;
}

// The source with comments and string and character literals blanked out, line breaks kept, so
// that what is left is code and the line numbers still hold.
std::string code_only(const std::string& text) {
  std::string out = text;
  std::size_t i = 0;
  auto blank = [&](std::size_t from, std::size_t to) {
    for (std::size_t k = from; k < to && k < out.size(); ++k)
      if (out[k] != '\n') out[k] = ' ';
  };
  while (i < text.size()) {
    if (text.compare(i, 2, "//") == 0) {
      const std::size_t end = text.find('\n', i);
      blank(i, end);
      i = end == std::string::npos ? text.size() : end;
    } else if (text.compare(i, 2, "/*") == 0) {
      const std::size_t end = text.find("*/", i + 2);
      const std::size_t stop = end == std::string::npos ? text.size() : end + 2;
      blank(i, stop);
      i = stop;
    } else if (text[i] == 'R' && i + 1 < text.size() && text[i + 1] == '"' &&
               (i == 0 ||
                !(std::isalnum(static_cast<unsigned char>(text[i - 1])) || text[i - 1] == '_'))) {
      const std::size_t open = text.find('(', i + 2);
      if (open == std::string::npos) break;
      const std::string close = ")" + text.substr(i + 2, open - i - 2) + "\"";
      const std::size_t end = text.find(close, open);
      const std::size_t stop = end == std::string::npos ? text.size() : end + close.size();
      blank(i + 1, stop);
      i = stop;
    } else if (text[i] == '"' || text[i] == '\'') {
      // A digit separator (1'000) is no character literal.
      if (text[i] == '\'' && i > 0 && std::isxdigit(static_cast<unsigned char>(text[i - 1]))) {
        ++i;
        continue;
      }
      const char quote = text[i];
      std::size_t k = i + 1;
      while (k < text.size() && text[k] != quote && text[k] != '\n') k += text[k] == '\\' ? 2 : 1;
      blank(i + 1, k);
      i = k + 1;
    } else {
      ++i;
    }
  }
  return out;
}

struct Finding {
  int line;
  std::string what;
};

std::vector<Finding> findings(const std::string& source) {
  std::vector<Finding> out;
  const std::string code = code_only(source);
  int line = 1;
  for (std::size_t start = 0; start < code.size(); ++line) {
    std::size_t end = code.find('\n', start);
    if (end == std::string::npos) end = code.size();
    const std::string text = code.substr(start, end - start);
    // std::regex is slow; most lines hold none of the stems the patterns need.
    static const char* const kStems[] = {"print",  "scan", "sto",  "strto", "ato",    "to_",
                                         "stream", "cout", "cerr", "clog",  "locale", "imbue"};
    bool candidate = false;
    for (const char* stem : kStems) candidate |= text.find(stem) != std::string::npos;
    if (!candidate) {
      start = end + 1;
      continue;
    }
    for (const auto& b : banned())
      if (std::regex_search(text, b.pattern)) out.push_back({line, b.name});
    start = end + 1;
  }
  return out;
}

// The scanner itself: it must see these in code and nowhere else.
TEST(LocaleFree, ScannerFindsCodeAndIgnoresCommentsAndLiterals) {
  const struct {
    const char* source;
    int found;
  } rows[] = {
      {"std::snprintf(buf, n, \"%g\", x);", 1},
      {"printf(\"x\");", 1},
      {"double d = strtod(p, &end);", 1},
      {"int i = atoi(p);", 1},
      {"double d = std::stod(s);", 1},
      {"auto n = std::stoi(s);", 1},
      {"auto s = std::to_string(1.5);", 1},
      {"#include <sstream>", 1},
      {"std::ostringstream out;", 1},
      {"std::stringstream ss;", 1},
      {"std::cout << x;", 1},
      {"std::cerr << x;", 1},
      {"setlocale(LC_ALL, \"\");", 1},
      {"std::locale::global(std::locale(\"\"));", 1},
      {"in.imbue(loc);", 1},
      {"sscanf(p, \"%d\", &n);", 1},
      {"// printf would round ties to even", 0},
      {"/* never strtod:\n   it follows the locale */", 0},
      {"const char* m = \"use printf\";", 0},
      {"auto r = R\"(std::cout)\";", 0},
      {"char q = '\"'; int n = 1'000; // std::cout", 0},
      {"std::to_chars(p, e, x); std::from_chars(p, e, x);", 0},
      {"my_printf_like(x); stodgy(); to_string_view(); store(x);", 0},
      {"std::ofstream out(path); out << name;", 0},
      {"int cout_lines = 0;", 0},
      {"cout << x;", 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.source);
    EXPECT_EQ(static_cast<int>(findings(row.source).size()), row.found);
  }
  const auto lines = findings("int a;\n/* x\n y */\nstd::cout << a;\n");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].line, 4);
}

TEST(LocaleFree, RuntimeAndAppUseNoLocaleDependentConversion) {
  const std::filesystem::path root = TESSALY_SOURCE_DIR;
  int files = 0;
  for (const char* folder : {"runtime", "app"}) {
    ASSERT_TRUE(std::filesystem::is_directory(root / folder)) << (root / folder);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root / folder)) {
      const auto extension = entry.path().extension();
      if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
      ++files;
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string source((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
      for (const auto& f : findings(source))
        ADD_FAILURE() << std::filesystem::relative(entry.path(), root).string() << ":" << f.line
                      << ": " << f.what;
    }
  }
  EXPECT_GT(files, 0);
}

}  // namespace
