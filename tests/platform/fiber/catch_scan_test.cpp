// Every `catch (...)` in the system's sources must let the two exceptions
// that end a logical thread pass: the fiber library's forced unwind and
// platform::ProgramHalt. A block passes when it
//   - starts with rethrowThreadExit();, or
//   - ends with a bare `throw;`, or
//   - follows handlers of the same try that catch both types.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Finding {
  std::string file;
  int line;
  std::string reason;
};

// Comments and literals blanked out, newlines kept, so positions and line
// numbers stay those of the source.
std::string codeOnly(const std::string& s) {
  std::string out = s;
  std::size_t i = 0;
  auto blank = [&](std::size_t from, std::size_t to) {
    for (std::size_t k = from; k < to && k < out.size(); ++k)
      if (out[k] != '\n') out[k] = ' ';
  };
  while (i < s.size()) {
    if (s.compare(i, 2, "//") == 0) {
      std::size_t e = s.find('\n', i);
      if (e == std::string::npos) e = s.size();
      blank(i, e);
      i = e;
    } else if (s.compare(i, 2, "/*") == 0) {
      std::size_t e = s.find("*/", i + 2);
      e = e == std::string::npos ? s.size() : e + 2;
      blank(i, e);
      i = e;
    } else if (s.compare(i, 2, "R\"") == 0 && (i == 0 || !std::isalnum(static_cast<unsigned char>(s[i - 1])))) {
      std::size_t open = s.find('(', i);
      std::string delim = ")" + s.substr(i + 2, open - i - 2) + "\"";
      std::size_t e = s.find(delim, open);
      e = e == std::string::npos ? s.size() : e + delim.size();
      blank(i, e);
      i = e;
    } else if (s[i] == '"' || s[i] == '\'') {
      char q = s[i];
      std::size_t e = i + 1;
      while (e < s.size() && s[e] != q) e += s[e] == '\\' ? 2 : 1;
      blank(i, e + 1);
      i = e + 1;
    } else {
      ++i;
    }
  }
  return out;
}

std::size_t skipSpace(const std::string& c, std::size_t i) {
  while (i < c.size() && std::isspace(static_cast<unsigned char>(c[i]))) ++i;
  return i;
}

// Position just past the bracket that closes the one at `open`.
std::size_t closing(const std::string& c, std::size_t open) {
  char o = c[open], x = o == '{' ? '}' : ')';
  int depth = 0;
  for (std::size_t i = open; i < c.size(); ++i) {
    if (c[i] == o) ++depth;
    if (c[i] == x && --depth == 0) return i + 1;
  }
  return std::string::npos;
}

bool keywordAt(const std::string& c, std::size_t i, const char* word) {
  std::size_t n = std::strlen(word);
  if (c.compare(i, n, word) != 0) return false;
  auto ident = [](char ch) { return std::isalnum(static_cast<unsigned char>(ch)) || ch == '_'; };
  return (i == 0 || !ident(c[i - 1])) && (i + n >= c.size() || !ident(c[i + n]));
}

std::string squeeze(const std::string& s) {
  std::string out;
  for (char ch : s)
    if (!std::isspace(static_cast<unsigned char>(ch))) out += ch;
  return out;
}

std::vector<Finding> scanCatchAll(const std::string& source, const std::string& file) {
  const std::string c = codeOnly(source);
  auto lineOf = [&](std::size_t pos) { return 1 + static_cast<int>(std::count(c.begin(), c.begin() + static_cast<long>(pos), '\n')); };
  std::vector<Finding> findings;
  std::vector<std::size_t> inspected;

  for (std::size_t t = c.find("try"); t != std::string::npos; t = c.find("try", t + 3)) {
    if (!keywordAt(c, t, "try")) continue;
    std::size_t i = skipSpace(c, t + 3);
    if (i >= c.size() || c[i] != '{') continue;
    i = closing(c, i);
    bool unwindCaught = false, haltCaught = false;
    while (i != std::string::npos) {
      i = skipSpace(c, i);
      if (!keywordAt(c, i, "catch")) break;
      std::size_t at = i;
      std::size_t p = skipSpace(c, i + 5);
      if (p >= c.size() || c[p] != '(') break;
      std::size_t pe = closing(c, p);
      std::string decl = squeeze(c.substr(p + 1, pe - p - 2));
      std::size_t b = skipSpace(c, pe);
      if (b >= c.size() || c[b] != '{') break;
      std::size_t be = closing(c, b);
      std::string body = squeeze(c.substr(b + 1, be - b - 2));
      if (decl == "...") {
        inspected.push_back(at);
        bool ok = (unwindCaught && haltCaught) || body.rfind("rethrowThreadExit();", 0) == 0 ||
                  body.rfind("platform::rethrowThreadExit();", 0) == 0 ||
                  (body.size() >= 6 && body.compare(body.size() - 6, 6, "throw;") == 0 &&
                   (body.size() == 6 || std::string(";{}").find(body[body.size() - 7]) != std::string::npos));
        if (!ok)
          findings.push_back({file, lineOf(at),
                              "catch (...) swallows the forced unwind and ProgramHalt; start it with "
                              "rethrowThreadExit() or catch those first"});
      }
      if (decl.find("forced_unwind") != std::string::npos) unwindCaught = true;
      if (decl.find("ProgramHalt") != std::string::npos) haltCaught = true;
      i = be;
    }
  }
  for (std::size_t at = c.find("catch"); at != std::string::npos; at = c.find("catch", at + 5)) {
    if (!keywordAt(c, at, "catch")) continue;
    std::size_t p = skipSpace(c, at + 5);
    if (p >= c.size() || c[p] != '(') continue;
    std::size_t pe = closing(c, p);
    if (pe == std::string::npos || squeeze(c.substr(p + 1, pe - p - 2)) != "...") continue;
    if (std::find(inspected.begin(), inspected.end(), at) == inspected.end())
      findings.push_back({file, lineOf(at), "catch (...) outside a try block the scan understands"});
  }
  return findings;
}

TEST(CatchAllScan, TellsPassingBlocksFromSwallowingOnes) {
  struct Case {
    const char* source;
    int findings;
  };
  const Case cases[] = {
      {"void f() { try { g(); } catch (...) { log(); } }", 1},
      {"void f() { try { g(); } catch (...) { rethrowThreadExit(); log(); } }", 0},
      {"void f() { try { g(); } catch (...) { platform::rethrowThreadExit(); } }", 0},
      {"void f() { try { g(); } catch (...) { cleanup(); throw; } }", 0},
      {"void f() { try { g(); } catch (...) { if (x) throw; log(); } }", 1},
      {"void f() { try { g(); } catch (...) { if (x) { throw; } } }", 1},
      {"void f() { try { g(); }\n catch (const boost::context::detail::forced_unwind&) { throw; }\n"
       " catch (const platform::ProgramHalt& h) { code = h.exitCode; }\n catch (...) { failed = true; } }",
       0},
      {"void f() { try { g(); } catch (const ProgramHalt&) { throw; } catch (...) {} }", 1},
      {"void f() { try { g(); } catch (const std::exception&) {} }", 0},
      {"// catch (...) { }\nconst char* s = \"catch (...) {}\";", 0},
      {"void f() { try { try { g(); } catch (...) { rethrowThreadExit(); } h(); }\n catch (...) { } }", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(scanCatchAll(c.source, "fixture").size(), static_cast<std::size_t>(c.findings)) << c.source;
  auto lines = scanCatchAll("int a;\nvoid f() {\n  try { g(); }\n  catch (...) {}\n}\n", "fixture");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].line, 4);
}

TEST(CatchAllScan, SystemSourcesLetThreadExitPass) {
  namespace fs = std::filesystem;
  const fs::path root = LV_SOURCE_DIR;
  int files = 0;
  std::vector<Finding> all;
  for (const char* dir : {"platform", "dictionary", "app", "cases", "reports"}) {
    if (!fs::exists(root / dir)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root / dir)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h" && ext != ".hpp" && ext != ".cc")) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::stringstream text;
      text << in.rdbuf();
      auto found = scanCatchAll(text.str(), fs::relative(entry.path(), root).string());
      all.insert(all.end(), found.begin(), found.end());
      ++files;
    }
  }
  EXPECT_GT(files, 0) << "no sources found under " << root;
  for (const Finding& f : all) ADD_FAILURE() << f.file << ":" << f.line << ": " << f.reason;
}

}  // namespace
