#include "main/public_variables.h"

#include <algorithm>

namespace intra {

std::string PublicVariables::normalise(std::string_view name) {
  std::string key(name);
  for (char& c : key) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return key;
}

void PublicVariables::declare(std::string_view name) {
  auto [it, inserted] = table_.try_emplace(normalise(name));
  if (inserted) {
    it->second.bindings.emplace_back();
    it->second.order = next_order_++;
  }
}

void PublicVariables::set(std::string_view name, Value value) {
  auto [it, inserted] = table_.try_emplace(normalise(name));
  if (inserted) {
    it->second.bindings.emplace_back(std::move(value));
    it->second.order = next_order_++;
    return;
  }
  it->second.bindings.back() = std::move(value);
}

bool PublicVariables::exists(std::string_view name) const { return table_.count(normalise(name)) != 0; }

const Value& PublicVariables::get(std::string_view name) const {
  static const Value missing;
  const auto it = table_.find(normalise(name));
  return it == table_.end() ? missing : it->second.bindings.back();
}

const Value& PublicVariables::public_value(std::string_view name) const {
  static const Value missing;
  const auto it = table_.find(normalise(name));
  return it == table_.end() ? missing : it->second.bindings.front();
}

std::vector<std::string> PublicVariables::public_names_with_prefix(std::string_view prefix) const {
  const std::string p = normalise(prefix);
  std::vector<std::pair<std::size_t, std::string>> found;
  for (const auto& [name, entry] : table_) {
    if (name.compare(0, p.size(), p) == 0) found.emplace_back(entry.order, name);
  }
  std::sort(found.begin(), found.end());
  std::vector<std::string> names;
  names.reserve(found.size());
  for (auto& [order, name] : found) names.push_back(std::move(name));
  return names;
}

std::vector<std::string> PublicVariables::visible_names() const {
  std::vector<std::string> names;
  names.reserve(table_.size());
  for (const auto& [name, entry] : table_) {
    if (!entry.bindings.empty()) names.push_back(name);
  }
  std::sort(names.begin(), names.end());  // std::string compares as unsigned bytes
  return names;
}

void PublicVariables::clear() {
  table_.clear();
  next_order_ = 0;
}

PublicVariables::PrivateScope::~PrivateScope() {
  for (auto it = names_.rbegin(); it != names_.rend(); ++it) {
    auto entry = vars_.table_.find(*it);
    if (entry == vars_.table_.end()) continue;
    entry->second.bindings.pop_back();
    // A private variable of a name that had no public one disappears with it.
    if (entry->second.bindings.empty()) vars_.table_.erase(entry);
  }
}

void PublicVariables::PrivateScope::declare(std::string_view name, Value initial) {
  std::string key = normalise(name);
  auto [it, inserted] = vars_.table_.try_emplace(key);
  if (inserted) it->second.order = vars_.next_order_++;
  it->second.bindings.push_back(std::move(initial));
  names_.push_back(std::move(key));
}

PublicVariables& publics() {
  static PublicVariables table;
  return table;
}

}  // namespace intra
