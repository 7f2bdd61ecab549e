#pragma once
// What the record-file tests share: a scratch directory that is the current
// directory while it lives, a file's bytes read and written whole, and SQL
// run on a file as another program would.

#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

namespace dbtest {

// A fresh directory that is the current directory while the object lives.
class ScratchDir {
 public:
  ScratchDir() {
    char pattern[] = "/tmp/lv-db-XXXXXX";
    path_ = mkdtemp(pattern);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
  }
  ~ScratchDir() {
    std::filesystem::current_path(previous_);
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
  std::filesystem::path previous_;
};

inline std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes;
  char chunk[65536];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
  return bytes;
}

inline void writeAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The first column of every row that `sql` gives on the file at `path`,
// through a connection of its own; "error: ..." when the statement fails.
inline std::string sqlValue(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  std::string result;
  char* message = nullptr;
  sqlite3_exec(
      db, sql.c_str(),
      [](void* out, int, char** values, char**) {
        *static_cast<std::string*>(out) += values[0] ? values[0] : "NULL";
        return 0;
      },
      &result, &message);
  if (message) result = std::string("error: ") + message;
  sqlite3_free(message);
  sqlite3_close(db);
  return result;
}

// Empty when every named file of `dir` passes SQLite's integrity check, else
// the first fault.
inline std::string integrityOf(const ScratchDir& dir, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    const std::string result = sqlValue(dir.file(name), "PRAGMA integrity_check");
    if (result != "ok") return std::string(name) + ": " + result;
  }
  return {};
}

}  // namespace dbtest
