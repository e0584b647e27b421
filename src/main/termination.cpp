#include "main/termination.h"

#include <map>

namespace intra {
namespace {

std::map<int, std::function<void()>>& closers() {
  static std::map<int, std::function<void()>> table;
  return table;
}
int g_next_id = 1;

}  // namespace

int on_termination(std::function<void()> closer) {
  const int id = g_next_id++;
  closers().emplace(id, std::move(closer));
  return id;
}

void cancel_termination(int id) { closers().erase(id); }

void AWARIA() {
  auto pending = std::move(closers());
  closers().clear();
  for (auto it = pending.rbegin(); it != pending.rend(); ++it) {
    try {
      it->second();
    } catch (...) {
      // Keep closing the rest: an end in the middle would leave files open.
    }
  }
}

}  // namespace intra
