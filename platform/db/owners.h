#pragma once
// Owners of auto-number reservations. Each process that reserves in a
// directory claims a slot of the directory's owner file, "lvd-owners.lck":
// it holds an open-file-description lock on the slot's bytes for its whole
// life and writes its token into them. The kernel drops the lock when the
// process ends, however it ends, so a token is provably gone when its slot is
// unlocked or holds another token. A slot is 16 bytes; the token's low 12
// bits are its slot number.

#include <cstdint>
#include <string>

namespace platform::dbi {

constexpr const char* OwnerFileName = "lvd-owners.lck";

// This process's owner token for `directory`, claiming a slot on first use;
// 0 on failure, with the reason in `error`.
std::int64_t ownerToken(const std::string& directory, std::string& error);

// This process's token for `directory` if it has claimed one, else 0.
std::int64_t claimedToken(const std::string& directory);

// True only when the owner of `token` is provably gone; false when it is
// alive or nothing can be proved.
bool ownerGone(const std::string& directory, std::int64_t token);

}  // namespace platform::dbi
