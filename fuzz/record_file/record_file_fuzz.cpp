// Any file where a record file is expected, opened the way every window opens
// its files (the file manager's open steps, with their messages), as the case
// file and as the entry file. A file that opens is read in every key's order
// and gets a new record.
//
// - the program either opens the file or ends with a fatal message; it never
//   crashes, and every message of the open names the file;
// - a file the program refuses is left byte for byte as it was (only a key
//   rebuild, which "Invalid Key" announces, may write to it).
//
// Messages are answered as a user who wants to go on would, but a question
// that offers to try again is answered No, so a failure cannot repeat for
// ever.

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "dictionary/keys.h"
#include "fuzz/fuzz_check.h"
#include "platform/db/context.h"
#include "platform/db/file.h"
#include "platform/lib/error_manager.h"
#include "platform/lib/file_manager.h"
#include "platform/types/halt.h"
#include "platform/ui/message_port.h"

namespace {

using lvfuzz::require;
namespace fs = std::filesystem;

std::string directory;

struct Recorder final : platform::MessagePort {
  std::vector<platform::MessageRequest> shown;
  unsigned show(const platform::MessageRequest& r) override {
    shown.push_back(r);
    if (r.buttons & platform::BtnNo) return platform::BtnNo;
    return r.defaultButton;
  }
};

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// Only the record file itself: a journal or log left by an earlier input
// would be played back into this one.
void clearDirectory() {
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(directory, ec))
    if (e.path().filename() != "lvd-owners.lck") fs::remove_all(e.path(), ec);
}

std::string titles(const Recorder& r) {
  std::string out;
  for (const auto& m : r.shown) out += "\n  " + m.title + ": " + m.text;
  return out;
}

// Every record in the order of every key, then a new record.
void useFile(platform::FileManager& manager) {
  platform::DbFile& file = manager.file();
  for (int key = 1; key <= file.keyCount(); ++key) {
    std::vector<platform::DbRow> rows;
    if (file.readPage(key, platform::Direction::Forward, std::nullopt, 1000, std::nullopt, rows) != platform::DbStatus::Ok)
      continue;
    for (const platform::DbRow& row : rows) {
      require(row.image.size() == file.recordSize(), "a record read has the record size");
      file.load(row);
    }
  }
  if (file.isReadOnly()) return;
  if (manager.PrimeRecord() == 0) manager.Insert();
}

void openAs(const platform::FileDefinition& definition, const std::string& bytes) {
  clearDirectory();
  const std::string path = directory + "/" + definition.layout->storedName() + platform::DbFile::Extension;
  writeAll(path, bytes);
  Recorder recorder;
  platform::setMessagePort(&recorder);
  bool halted = false, opened = false;
  std::size_t openMessages = 0;
  {
    platform::DbContext context;
    platform::DbFile file(context, definition);
    platform::ErrorManager errors;
    platform::FileManager manager;
    manager.Init(file, errors);
    try {
      manager.Open();
      opened = manager.UseFile() == 0;
      openMessages = recorder.shown.size();
      if (opened) useFile(manager);
      manager.Close();
    } catch (const platform::ProgramHalt&) {
      halted = true;
      if (!opened) openMessages = recorder.shown.size();
    }
  }
  platform::setMessagePort(nullptr);

  const std::string label = definition.layout->label();
  for (std::size_t i = 0; i < openMessages; ++i) {
    const auto& m = recorder.shown[i];
    if (m.title == "Halt") continue;  // names the message that ends the program
    require(m.text.find(label) != std::string::npos, "every message of the open names the file", titles(recorder));
  }
  if (!opened) {
    require(halted, "a file that does not open ends the program with a fatal message", titles(recorder));
    bool rebuilt = false;
    for (std::size_t i = 0; i < openMessages; ++i) rebuilt = rebuilt || recorder.shown[i].title == "Invalid Key";
    if (!rebuilt) require(readAll(path) == bytes, "a refused file is left as it was", titles(recorder));
  }
}

void removeDirectory() {
  std::error_code ec;
  fs::remove_all(directory, ec);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string pattern = (fs::temp_directory_path() / "lv-fuzz-record-file-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) lvfuzz::broken("set-up", "no temporary directory");
  directory = pattern;
  std::atexit(removeDirectory);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  // Record files are found in the current directory; the fuzzer's own files
  // are relative to the one it started in.
  const fs::path started = fs::current_path();
  fs::current_path(directory);
  openAs(dictionary::CaseCloseSummaryDefinition(), bytes);
  openAs(dictionary::HOURLYDefinition(), bytes);
  fs::current_path(started);
  return 0;
}
