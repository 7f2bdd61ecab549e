#pragma once
// The program's one password, kept in the password file ".\lanvik.ini" of
// the current directory (section "LANVik - Password Control", entry "Pwd").
//
// The entry holds a salted, slow one-way hash of the password (libsodium's
// crypto_pwhash_str with its interactive limits, in its ASCII form), never
// the password itself. A missing file or entry, or a present but empty
// entry, means that no password has been set: the built-in password "vimbro"
// opens the program then. A password file that is there but cannot be read
// is no missing file: the gate ends the program rather than let the
// built-in password in. (A user who forgot the password removes the "Pwd"
// entry, which brings the built-in one back.)
//
// Passwords are compared as typed, letter case included; trailing blanks
// are not part of a password. The gate keeps at most PasswordMax characters
// of what is typed, so no longer password can be set.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace app {

inline constexpr const char* PasswordFile = ".\\lanvik.ini";
inline constexpr const char* PasswordSection = "LANVik - Password Control";
inline constexpr const char* PasswordEntry = "Pwd";
inline constexpr std::string_view DefaultPassword = "vimbro";
inline constexpr std::size_t PasswordMax = 20;

// What the password file holds.
struct StoredPassword {
  // The stored hash; nullopt when the file, the entry or its value is
  // missing (the built-in password applies).
  std::optional<std::string> hash;
  // Why the file, which is there, could not be read ("Permission denied");
  // empty when it was read or is missing.
  std::string unreadable;
};
StoredPassword ReadStoredPassword();

// The full path of the password file, for messages.
std::string PasswordFilePath();

// Whether `typed` (Latin-1, trailing blanks ignored) is the password that
// `stored` stands for; with nothing stored, whether it is "vimbro". A stored
// value that is not a hash of ours matches nothing.
bool PasswordMatches(std::string_view typed, const std::optional<std::string>& stored);

// The stored form of a password (trailing blanks removed first); nullopt
// when it could not be computed (out of memory).
std::optional<std::string> PasswordStoredForm(std::string_view password);

// Computes the stored form and writes it to the password file, replacing
// any earlier value. False when nothing was stored; the earlier value then
// stays.
bool StorePassword(std::string_view password);

}  // namespace app
