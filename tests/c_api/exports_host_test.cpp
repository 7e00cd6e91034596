// The shared object's visible surface: its exports, their declarations in the
// public header, and its SONAME.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string collapse(std::string s) {
  s = std::regex_replace(s, std::regex(R"(\s+)"), " ");
  s = std::regex_replace(s, std::regex(R"(\s*([(),*])\s*)"), "$1");
  s = std::regex_replace(s, std::regex(R"(^ | $)"), "");
  return s;
}

std::string runCommand(const std::string& cmd) {
  std::string out;
  FILE* p = popen(cmd.c_str(), "r");
  if (p == nullptr) return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

std::string nameOf(const std::string& signature) {
  std::smatch m;
  std::regex_search(signature, m, std::regex(R"(([A-Za-z0-9_]+)\()"));
  return m[1];
}

// "ret name(args)" for every KOVRIX_API declaration of the header.
std::set<std::string> headerDeclarations() {
  std::ifstream in(KOVRIX_HEADER);
  std::stringstream all;
  all << in.rdbuf();
  std::string text = all.str();
  std::set<std::string> out;
  std::regex decl(R"(\nKOVRIX_API\s+([^;]+);)");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), decl); it != std::sregex_iterator(); ++it)
    out.insert(collapse((*it)[1]));
  return out;
}

std::set<std::string> interfaceSignatures() {
  std::ifstream in(KOVRIX_SOURCE_DIR "/tests/c_api/interface.txt");
  std::set<std::string> out;
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line[0] != '#') out.insert(collapse(line));
  return out;
}

TEST(Exports, InterfaceListIsComplete) { EXPECT_EQ(interfaceSignatures().size(), 174u); }

TEST(Exports, HeaderDeclaresOnlyInterfaceSignatures) {
  auto iface = interfaceSignatures();
  for (const auto& d : headerDeclarations()) EXPECT_TRUE(iface.count(d)) << "not in the interface: \"" << d << "\"";
}

TEST(Exports, SharedObjectExportsOnlyDeclaredFunctions) {
  std::set<std::string> declared;
  for (const auto& d : headerDeclarations()) declared.insert(nameOf(d));
  std::string out = runCommand("nm -D --defined-only '" KOVRIX_SHARED_OBJECT "'");
  ASSERT_FALSE(out.empty()) << "nm printed nothing";
  std::istringstream lines(out);
  int exported = 0;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream f(line);
    std::string addr, type, name;
    f >> addr >> type >> name;
    if (type != "T" && type != "W" && type != "i") continue;
    ++exported;
    name = name.substr(0, name.find('@'));
    EXPECT_TRUE(declared.count(name)) << "exported but not declared: " << name;
  }
  EXPECT_GT(exported, 0);
}

TEST(Exports, EveryDeclaredFunctionIsExported) {
  std::string out = runCommand("nm -D --defined-only '" KOVRIX_SHARED_OBJECT "'");
  std::set<std::string> exported;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream f(line);
    std::string addr, type, name;
    f >> addr >> type >> name;
    exported.insert(name.substr(0, name.find('@')));
  }
  for (const auto& d : headerDeclarations()) EXPECT_TRUE(exported.count(nameOf(d))) << "declared, not exported: " << d;
}

TEST(Exports, HasSoname) {
  std::string out = runCommand("readelf -d '" KOVRIX_SHARED_OBJECT "'");
  EXPECT_NE(out.find("Library soname: [libkovrix.so.1]"), std::string::npos) << out;
}

}  // namespace
