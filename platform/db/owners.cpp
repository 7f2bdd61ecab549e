#include "platform/db/owners.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <random>

namespace platform::dbi {

namespace {

constexpr int SlotBytes = 16;
constexpr int Slots = 4096;  // 12 bits of the token

struct Claim {
  int fd = -1;
  std::int64_t token = 0;
  pid_t pid = 0;
};

std::mutex& claimsMutex() {
  static std::mutex m;
  return m;
}

std::map<std::string, Claim>& claims() {
  static std::map<std::string, Claim> c;
  return c;
}

std::string ownerPath(const std::string& directory) {
  return directory.empty() ? std::string(OwnerFileName) : directory + "/" + OwnerFileName;
}

struct flock slotRange(int slot, short type) {
  struct flock fl;
  std::memset(&fl, 0, sizeof fl);
  fl.l_type = type;
  fl.l_whence = SEEK_SET;
  fl.l_start = static_cast<off_t>(slot) * SlotBytes;
  fl.l_len = SlotBytes;
  return fl;
}

void encode(std::int64_t token, unsigned char* out) {
  auto v = static_cast<std::uint64_t>(token);
  for (int i = 0; i < 8; ++i) out[i] = static_cast<unsigned char>(v >> (8 * i));
}

std::int64_t newToken(int slot) {
  std::random_device rd;
  std::uint64_t high = 0;
  while (high == 0) {
    std::uint64_t r = (static_cast<std::uint64_t>(rd()) << 32) ^ rd();
    high = (r << 12) & 0x7FFFFFFFFFFFF000ULL;  // positive, low 12 bits free
  }
  return static_cast<std::int64_t>(high | static_cast<std::uint64_t>(slot));
}

}  // namespace

std::int64_t ownerToken(const std::string& directory, std::string& error) {
  std::lock_guard<std::mutex> lock(claimsMutex());
  pid_t pid = getpid();
  auto it = claims().find(directory);
  if (it != claims().end()) {
    if (it->second.pid == pid) return it->second.token;
    // Inherited through fork(): the claim is the parent's.
    close(it->second.fd);
    claims().erase(it);
  }
  std::string path = ownerPath(directory);
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return 0;
  }
  for (int slot = 0; slot < Slots; ++slot) {
    struct flock fl = slotRange(slot, F_WRLCK);
    if (fcntl(fd, F_OFD_SETLK, &fl) != 0) {
      if (errno == EAGAIN || errno == EACCES) continue;
      error = "cannot lock " + path + ": " + std::strerror(errno);
      close(fd);
      return 0;
    }
    std::int64_t token = newToken(slot);
    unsigned char bytes[SlotBytes] = {};
    encode(token, bytes);
    if (pwrite(fd, bytes, sizeof bytes, static_cast<off_t>(slot) * SlotBytes) != static_cast<ssize_t>(sizeof bytes)) {
      error = "cannot write " + path + ": " + std::strerror(errno);
      close(fd);
      return 0;
    }
    claims()[directory] = Claim{fd, token, pid};
    return token;
  }
  error = "every slot of " + path + " is taken";
  close(fd);
  return 0;
}

std::int64_t claimedToken(const std::string& directory) {
  std::lock_guard<std::mutex> lock(claimsMutex());
  auto it = claims().find(directory);
  return it != claims().end() && it->second.pid == getpid() ? it->second.token : 0;
}

bool ownerGone(const std::string& directory, std::int64_t token) {
  if (token <= 0) return true;
  int slot = static_cast<int>(token & (Slots - 1));
  std::string path = ownerPath(directory);
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  // Without the owner file nothing can be proved: it may have been removed
  // while its owners still hold their locks.
  if (fd < 0) return false;
  struct flock fl = slotRange(slot, F_RDLCK);
  bool gone = false;
  if (fcntl(fd, F_OFD_GETLK, &fl) == 0) {
    if (fl.l_type == F_UNLCK) {
      gone = true;
    } else {
      unsigned char held[8] = {};
      unsigned char mine[8] = {};
      encode(token, mine);
      if (pread(fd, held, sizeof held, static_cast<off_t>(slot) * SlotBytes) == static_cast<ssize_t>(sizeof held))
        gone = std::memcmp(held, mine, sizeof held) != 0;
    }
  }
  close(fd);
  return gone;
}

}  // namespace platform::dbi
