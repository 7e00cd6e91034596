// The export layer stays translation only: no file under src/c_api/ holds
// inline assembly, 128-bit arithmetic under any of the library's spellings, or
// a call of the C math library.  Arithmetic belongs to the family folders.
//
// Comments and string literals are removed before the search, so prose may
// name what the code must not contain.  The detector is first run on sample
// lines, so a pattern that matches nothing cannot pass unnoticed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The text with comments, string and character literals blanked (newlines
// kept, so line numbers still hold).
std::string codeOnly(const std::string& text) {
  std::string out = text;
  enum { code, line, block, str, chr } state = code;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const char c = out[i], next = i + 1 < out.size() ? out[i + 1] : '\0';
    switch (state) {
      case code:
        if (c == '/' && next == '/') state = line, out[i] = ' ';
        else if (c == '/' && next == '*') state = block, out[i] = ' ';
        else if (c == '"') state = str;
        else if (c == '\'') state = chr;
        break;
      case line:
        if (c == '\n') state = code;
        else out[i] = ' ';
        break;
      case block:
        if (c == '*' && next == '/') out[i] = out[i + 1] = ' ', ++i, state = code;
        else if (c != '\n') out[i] = ' ';
        break;
      case str:
      case chr:
        if (c == '\\' && next != '\n') out[i] = out[i + 1] = ' ', ++i;
        else if (c == (state == str ? '"' : '\'')) state = code;
        else if (c != '\n') out[i] = ' ';
        break;
    }
  }
  return out;
}

const char* const kLibm =
    "acos|acosh|asin|asinh|atan|atan2|atanh|cbrt|ceil|copysign|cos|cosh|erf|erfc|exp|exp2|expm1|fabs|fdim|"
    "floor|fma|fmax|fmin|fmod|frexp|hypot|ilogb|ldexp|lgamma|llrint|llround|log|log10|log1p|log2|logb|lrint|"
    "lround|modf|nan|nearbyint|nextafter|nexttoward|pow|remainder|remquo|rint|round|scalbln|scalbn|sin|sinh|"
    "sqrt|tan|tanh|tgamma|trunc";

struct Rule {
  const char* what;
  std::regex pattern;
};

const std::vector<Rule>& rules() {
  static const std::vector<Rule> r = [] {
    const std::string fn = std::string("(") + kLibm + ")[fl]?\\s*\\(";
    return std::vector<Rule>{
        {"inline assembly", std::regex(R"((^|[^A-Za-z0-9_])(asm|__asm|__asm__)([^A-Za-z0-9_]|$))")},
        {"128-bit arithmetic",
         std::regex(R"((^|[^A-Za-z0-9_])(__int128|__int128_t|__uint128_t|Int128|UInt128|u128)([^A-Za-z0-9_]|$))"
                    R"(|_BitInt\s*\(\s*128)")},
        {"the C math library header", std::regex(R"(#\s*include\s*<\s*(cmath|math\.h|tgmath\.h)\s*>)")},
        // std::f( or ::f( , or f( not reached through a qualifier or member.
        {"a libm call", std::regex("(^|[^A-Za-z0-9_:])(std)?::" + fn + "|(^|[^A-Za-z0-9_:.>])" + fn)},
        {"a libm builtin", std::regex("__builtin_" + fn)},
    };
  }();
  return r;
}

// "<line>: <what>" for every offending line of the code.
std::vector<std::string> findings(const std::string& text) {
  std::vector<std::string> found;
  std::istringstream in(codeOnly(text));
  std::string lineText;
  for (int line = 1; std::getline(in, lineText); ++line)
    for (const Rule& rule : rules())
      if (std::regex_search(lineText, rule.pattern)) found.push_back(std::to_string(line) + ": " + rule.what);
  return found;
}

TEST(TranslationOnly, TheDetectorFlagsEachForbiddenConstruct) {
  for (const char* bad : {
           "__asm__(\"divq %4\" : \"=a\"(q));", "asm volatile(\"\");", "unsigned __int128 n = 0;",
           "const kovrix::Int128 v = a;", "static_cast<UInt128>(x)", "kovrix::u128 n;", "_BitInt(128) w;",
           "#include <cmath>", "#include <math.h>", "return std::round(x);", "y = ::sqrt(x);",
           "return log(x) + 1;", "double r = std::nextafter(a, b);", "float f = sinf(x);",
           "return __builtin_sqrt(x);", "q = std::atan2(y, x);"}) {
    EXPECT_FALSE(findings(bad).empty()) << bad;
  }
  for (const char* fine : {
           "return kovrix::exp(in(x));", "return kovrix::sqrtClipped(in(x));", "saturating::round(x)",
           "// std::round(x) in a comment", "/* __int128 */ int x;", "const char* s = \"asm sqrt(\";",
           "return v.magnitude.isZero();", "int64_t kovrix_fixed_floor(int64_t x)", "p->exp(1)",
           "std::int64_t r = kovrix::router::pow(a, b);", "kovrix_interval_sqrt(kovrix_interval x)"}) {
    EXPECT_TRUE(findings(fine).empty()) << fine;
  }
}

TEST(TranslationOnly, NoFileUnderCApiComputes) {
  const std::filesystem::path dir = std::filesystem::path(KOVRIX_SOURCE_DIR) / "src" / "c_api";
  ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir;
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream f(entry.path());
    std::stringstream text;
    text << f.rdbuf();
    ++files;
    for (const std::string& finding : findings(text.str())) ADD_FAILURE() << entry.path().string() << ":" << finding;
  }
  EXPECT_GT(files, 0);
}

}  // namespace
