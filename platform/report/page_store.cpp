#include "platform/report/page_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace platform::report {

namespace {

constexpr std::size_t FlushAt = 64 * 1024;

PageStoreError fileError(const std::filesystem::path& path, const char* doing, int error) {
  return PageStoreError(std::string("the report's page file ") + path.string() + " " + doing + ": " +
                            std::strerror(error));
}

// --- the encoding: unsigned numbers in 7-bit groups, signed ones zigzagged ---

void putUnsigned(std::string& out, std::uint64_t v) {
  while (v >= 0x80) {
    out.push_back(static_cast<char>((v & 0x7F) | 0x80));
    v >>= 7;
  }
  out.push_back(static_cast<char>(v));
}

void putSigned(std::string& out, std::int64_t v) {
  putUnsigned(out, (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63));
}

void putColor(std::string& out, Color c) { putUnsigned(out, static_cast<std::uint32_t>(c)); }

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  std::uint64_t next() {
    std::uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      if (at_ >= bytes_.size()) throw PageStoreError("a damaged page in the report's page file");
      const auto b = static_cast<unsigned char>(bytes_[at_++]);
      v |= static_cast<std::uint64_t>(b & 0x7F) << shift;
      if (!(b & 0x80)) return v;
    }
    throw PageStoreError("a damaged page in the report's page file");
  }
  int nextInt() {
    const std::uint64_t z = next();
    return static_cast<int>(static_cast<std::int64_t>(z >> 1) ^ -static_cast<std::int64_t>(z & 1));
  }
  unsigned char byte() {
    if (at_ >= bytes_.size()) throw PageStoreError("a damaged page in the report's page file");
    return static_cast<unsigned char>(bytes_[at_++]);
  }
  std::string text(std::size_t n) {
    if (n > bytes_.size() - at_) throw PageStoreError("a damaged page in the report's page file");
    std::string s(bytes_.substr(at_, n));
    at_ += n;
    return s;
  }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

// Flags of an item, in one byte after its kind.
enum : unsigned {
  AlignBits = 0x03,
  FlagChecked = 0x04,
  FlagRounded = 0x08,
  FlagColor = 0x10,  // a colour other than black follows
  FlagFill = 0x20,   // a fill follows
  FlagAngle = 0x40,  // an angle follows
  FlagPen = 0x80,    // a pen width other than 10 follows
};

bool lockFree(int fd) { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; }

int storeCounter = 0;
bool swept = false;

}  // namespace

PageStore::PageStore() { open(std::filesystem::temp_directory_path()); }

PageStore::PageStore(const std::filesystem::path& directory) { open(directory); }

void PageStore::open(const std::filesystem::path& directory) {
  if (!swept) {
    swept = true;
    RemoveStale(directory);
  }
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    path_ = directory / (std::string(FilePrefix) + std::to_string(::getpid()) + "-" + std::to_string(++storeCounter) +
                         ".tmp");
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd_ < 0 && errno != EEXIST) throw fileError(path_, "cannot be made", errno);
  }
  if (fd_ < 0) throw fileError(path_, "cannot be made", EEXIST);
  // Held while the store lives; a file whose lock is free is a crashed run's.
  ::flock(fd_, LOCK_EX);
}

PageStore::~PageStore() {
  if (fd_ >= 0) {
    ::unlink(path_.c_str());
    ::close(fd_);
  }
}

int PageStore::RemoveStale() { return RemoveStale(std::filesystem::temp_directory_path()); }

int PageStore::RemoveStale(const std::filesystem::path& directory) {
  int removed = 0;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.rfind(FilePrefix, 0) != 0 || it->path().extension() != ".tmp") continue;
    const int fd = ::open(it->path().c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) continue;
    // A store that is being made may be caught before it takes its lock;
    // it keeps working on its open file, which then goes when it closes.
    if (lockFree(fd) && ::unlink(it->path().c_str()) == 0) ++removed;
    ::close(fd);
  }
  return removed;
}

std::uint32_t PageStore::nameIndex(const std::string& name) {
  if (auto it = nameIds_.find(name); it != nameIds_.end()) return it->second;
  const auto id = static_cast<std::uint32_t>(names_.size());
  names_.push_back(name);
  nameIds_.emplace(name, id);
  return id;
}

std::uint32_t PageStore::fontIndex(const ReportFont& font) {
  for (std::size_t i = 0; i < fonts_.size(); ++i)
    if (fonts_[i] == font) return static_cast<std::uint32_t>(i);
  fonts_.push_back(font);
  return static_cast<std::uint32_t>(fonts_.size() - 1);
}

void PageStore::add(const Page& page) {
  std::string& out = scratch_;
  out.clear();
  putUnsigned(out, static_cast<std::uint64_t>(page.number));
  putUnsigned(out, static_cast<std::uint64_t>(page.width));
  putUnsigned(out, static_cast<std::uint64_t>(page.height));
  putUnsigned(out, page.items.size());
  for (const PageItem& item : page.items) {
    unsigned flags = static_cast<unsigned>(item.align) & AlignBits;
    if (item.checked) flags |= FlagChecked;
    if (item.rounded) flags |= FlagRounded;
    if (item.color != Black) flags |= FlagColor;
    if (item.fill != NoColor) flags |= FlagFill;
    if (item.angle != 0) flags |= FlagAngle;
    if (item.pen != 10) flags |= FlagPen;
    out.push_back(static_cast<char>(item.kind));
    out.push_back(static_cast<char>(flags));
    putUnsigned(out, nameIndex(item.name));
    putUnsigned(out, fontIndex(item.font));
    putSigned(out, item.rect.x);
    putSigned(out, item.rect.y);
    putSigned(out, item.rect.width);
    putSigned(out, item.rect.height);
    if (flags & FlagColor) putColor(out, item.color);
    if (flags & FlagFill) putColor(out, item.fill);
    if (flags & FlagAngle) putSigned(out, item.angle);
    if (flags & FlagPen) putSigned(out, item.pen);
    putUnsigned(out, item.text.size());
    out += item.text;
  }
  index_.push_back({end_, static_cast<std::uint32_t>(out.size())});
  end_ += out.size();
  pending_ += out;
  if (pending_.size() >= FlushAt) flush();
}

void PageStore::flush() const {
  std::size_t done = 0;
  const std::uint64_t at = end_ - pending_.size();
  while (done < pending_.size()) {
    const ssize_t n = ::pwrite(fd_, pending_.data() + done, pending_.size() - done, static_cast<off_t>(at + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      // What did not reach the file is lost: the store ends at what did.
      throw fileError(path_, "cannot be written", error);
    }
    done += static_cast<std::size_t>(n);
  }
  pending_.clear();
}

Page PageStore::read(int number) const {
  if (number < 1 || number > count()) throw std::out_of_range("no page " + std::to_string(number) + " in the store");
  const Place& place = index_[static_cast<std::size_t>(number - 1)];
  if (place.offset + place.size > end_ - pending_.size()) flush();
  std::string bytes(place.size, '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n =
        ::pread(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(place.offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw fileError(path_, "cannot be read", n < 0 ? errno : EIO);
    done += static_cast<std::size_t>(n);
  }
  Reader r(bytes);
  Page page;
  page.number = static_cast<int>(r.next());
  page.width = static_cast<int>(r.next());
  page.height = static_cast<int>(r.next());
  const std::uint64_t items = r.next();
  page.items.reserve(static_cast<std::size_t>(items));
  for (std::uint64_t i = 0; i < items; ++i) {
    PageItem item;
    item.kind = static_cast<ItemKind>(r.byte());
    const unsigned flags = r.byte();
    item.align = static_cast<ItemAlign>(flags & AlignBits);
    item.checked = flags & FlagChecked;
    item.rounded = flags & FlagRounded;
    const std::uint64_t name = r.next(), font = r.next();
    if (name >= names_.size() || font >= fonts_.size())
      throw PageStoreError("a damaged page in the report's page file");
    item.name = names_[static_cast<std::size_t>(name)];
    item.font = fonts_[static_cast<std::size_t>(font)];
    item.rect.x = r.nextInt();
    item.rect.y = r.nextInt();
    item.rect.width = r.nextInt();
    item.rect.height = r.nextInt();
    if (flags & FlagColor) item.color = static_cast<Color>(r.next());
    if (flags & FlagFill) item.fill = static_cast<Color>(r.next());
    if (flags & FlagAngle) item.angle = r.nextInt();
    if (flags & FlagPen) item.pen = r.nextInt();
    item.text = r.text(static_cast<std::size_t>(r.next()));
    page.items.push_back(std::move(item));
  }
  return page;
}

void PageStore::clear() {
  index_.clear();
  pending_.clear();
  end_ = 0;
  if (::ftruncate(fd_, 0) != 0) throw fileError(path_, "cannot be emptied", errno);
}

}  // namespace platform::report
