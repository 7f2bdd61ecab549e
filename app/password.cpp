#include "app/password.h"

#include <sodium.h>

#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <utility>

#include "platform/os/profile.h"
#include "platform/types/latin1.h"

namespace app {

namespace {

void initSodium() {
  // Safe to call more than once; fails only when no source of randomness
  // exists, and then no salt can be made.
  static const bool ready = sodium_init() >= 0;
  if (!ready) throw std::runtime_error("libsodium could not be initialised");
}

}  // namespace

StoredPassword ReadStoredPassword() {
  platform::ProfileLookup found = platform::lookupProfileString(PasswordSection, PasswordEntry, PasswordFile);
  StoredPassword stored;
  if (found.readError != 0) stored.unreadable = std::strerror(found.readError);
  if (found.value && !found.value->empty()) stored.hash = std::move(found.value);
  return stored;
}

std::string PasswordFilePath() {
  const std::filesystem::path path = platform::profilePath(PasswordFile);
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(path, ec);
  return (ec ? path : full.lexically_normal()).string();
}

bool PasswordMatches(std::string_view typed, const std::optional<std::string>& stored) {
  const std::string_view password = platform::rtrim(typed);
  if (!stored) return password == DefaultPassword;
  // A hash of ours is shorter than the buffer libsodium reads it from.
  if (stored->size() >= crypto_pwhash_STRBYTES) return false;
  initSodium();
  return crypto_pwhash_str_verify(stored->c_str(), password.data(), password.size()) == 0;
}

std::optional<std::string> PasswordStoredForm(std::string_view password) {
  initSodium();
  const std::string_view text = platform::rtrim(password);
  char out[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(out, text.data(), text.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                        crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
    return std::nullopt;
  return std::string(out);
}

bool StorePassword(std::string_view password) {
  std::optional<std::string> stored = PasswordStoredForm(password);
  if (!stored) return false;
  return platform::writeProfileString(PasswordSection, PasswordEntry, *stored, PasswordFile);
}

}  // namespace app
