#pragma once
// The pages of one run, in a compact store in a temporary file of the run.
//
// The engine adds each page as it is finished; the preview and the printer
// read one page at a time. So the memory a run holds stays flat however
// many pages it makes: in memory are only the place of each page in the
// file and the names and fonts its items share (a report has a fixed set of
// controls and fonts); every text is in the file.
//
// The file, "lanvik-pages-<process>-<n>.tmp" in the system's temporary
// directory, is removed when the store goes (the run ends, however it
// ends). While the store lives, its file holds a lock; RemoveStale removes
// the files whose lock nobody holds, those a crashed run left behind. The
// first store of a process sweeps its directory that way, and the desktop
// does so when the program starts.
//
// Reads go by position in the file (pread), so a page can be read while
// another reader (the preview, the printer) is at another page. A failure
// of the file (a full disk) throws PageStoreError with the reason.

#include <cstdint>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/report/page.h"

namespace platform::report {

struct PageStoreError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class PageStore {
 public:
  // A store in the system's temporary directory, or in `directory`.
  PageStore();
  explicit PageStore(const std::filesystem::path& directory);
  ~PageStore();
  PageStore(const PageStore&) = delete;
  PageStore& operator=(const PageStore&) = delete;

  // Appends a page (its number is the store's count after the call).
  void add(const Page& page);
  int count() const { return static_cast<int>(index_.size()); }
  // Page `number`, from 1. Throws std::out_of_range for a page not stored.
  Page read(int number) const;
  // Forgets every page; the file stays, empty.
  void clear();

  const std::filesystem::path& path() const { return path_; }
  // Bytes of the file (pages written so far).
  std::uint64_t bytes() const { return end_; }

  // Removes the store files in `directory` (default: the system's temporary
  // directory) that no live store holds. Answers how many it removed.
  static int RemoveStale();
  static int RemoveStale(const std::filesystem::path& directory);
  static constexpr const char* FilePrefix = "lanvik-pages-";

 private:
  void open(const std::filesystem::path& directory);
  void flush() const;
  std::uint32_t nameIndex(const std::string& name);
  std::uint32_t fontIndex(const ReportFont& font);

  std::filesystem::path path_;
  int fd_ = -1;
  struct Place {
    std::uint64_t offset;
    std::uint32_t size;
  };
  std::vector<Place> index_;
  std::uint64_t end_ = 0;
  mutable std::string pending_;  // written bytes not yet in the file
  std::vector<std::string> names_;
  std::map<std::string, std::uint32_t, std::less<>> nameIds_;
  std::vector<ReportFont> fonts_;
  std::string scratch_;
};

}  // namespace platform::report
