#include "screen/virtual_terminal.h"

namespace intra {

void VirtualTerminal::type(std::initializer_list<int> keys) {
  for (int k : keys) keys_.push_back({Clock::Duration(0), k});
}

void VirtualTerminal::type(const std::vector<int>& keys) {
  for (int k : keys) keys_.push_back({Clock::Duration(0), k});
}

void VirtualTerminal::type_text(std::string_view text) {
  for (char c : text) keys_.push_back({Clock::Duration(0), static_cast<unsigned char>(c)});
}

void VirtualTerminal::type_after(Clock::Duration after, std::initializer_list<int> keys) {
  const Clock::Duration at = clock_.elapsed() + after;
  for (int k : keys) keys_.push_back({at, k});
}

void VirtualTerminal::present(const ScreenBuffer& screen) {
  presented_ = screen;
  ++presents_;
}

std::optional<int> VirtualTerminal::poll_key() {
  if (keys_.empty() || keys_.front().at > clock_.elapsed()) return std::nullopt;
  const int k = keys_.front().key;
  keys_.pop_front();
  return k;
}

}  // namespace intra
