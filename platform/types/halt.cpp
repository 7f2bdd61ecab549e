#include "platform/types/halt.h"

#include <utility>
#include <vector>

namespace platform {
namespace {
struct Action {
  int id;
  std::function<void()> fn;
};
std::vector<Action>& actions() {
  static std::vector<Action> list;
  return list;
}
int nextId = 1;
}  // namespace

void haltProgram(int exitCode) {
  // Run each action once even if one of them halts again.
  std::vector<Action> pending = std::move(actions());
  actions().clear();
  for (auto it = pending.rbegin(); it != pending.rend(); ++it) {
    try {
      it->fn();
    } catch (const ProgramHalt&) {
    }
  }
  throw ProgramHalt{exitCode};
}

int addHaltAction(std::function<void()> action) {
  int id = nextId++;
  actions().push_back({id, std::move(action)});
  return id;
}

void removeHaltAction(int id) {
  auto& list = actions();
  for (auto it = list.begin(); it != list.end(); ++it)
    if (it->id == id) {
      list.erase(it);
      return;
    }
}

}  // namespace platform
