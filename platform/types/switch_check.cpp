#include "platform/types/switch_check.h"

#include <vector>

namespace platform {
namespace {
std::vector<SwitchCheck>& checks() {
  static std::vector<SwitchCheck> list;
  return list;
}
}  // namespace

void addSwitchCheck(SwitchCheck check) {
  for (SwitchCheck c : checks())
    if (c == check) return;
  checks().push_back(check);
}

const char* runSwitchChecks() {
  for (SwitchCheck c : checks())
    if (const char* held = c()) return held;
  return nullptr;
}

}  // namespace platform
