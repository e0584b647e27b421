#include "storage/dbtool/index_consistency.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace intra::dbtool {
namespace {

// Every entry of an index, keys side by side in one buffer: a million keys
// cost their bytes and a record number each, not a string apiece.
struct IndexEntries {
  std::size_t key_size = 0;
  std::string keys;
  std::vector<std::uint32_t> recnos;

  std::string_view key(std::size_t i) const { return std::string_view(keys).substr(i * key_size, key_size); }
  std::size_t size() const { return recnos.size(); }
};

bool read_entries(NtxIndex& index, IndexEntries& entries) {
  entries.key_size = static_cast<std::size_t>(index.key_size());
  return index.for_each([&](const KeyEntry& entry) {
    entries.keys.append(entry.key);
    entries.recnos.push_back(entry.recno);
    return true;
  });
}

// Entry positions in record-number order; equal record numbers keep their
// index order, so a doubled entry is reported where it stands.
std::vector<std::size_t> by_record_number(const IndexEntries& entries) {
  std::vector<std::size_t> order(entries.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return entries.recnos[a] < entries.recnos[b]; });
  return order;
}

// Whether any entry holds `key`. The entries are in the index's order, so
// a binary search finds it in an index whose order is whole (a damaged
// order is a problem of its own).
bool holds_key(const IndexEntries& entries, std::string_view key, bool descending) {
  std::size_t low = 0, high = entries.size();
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    const int c = entries.key(middle).compare(key);
    if (c == 0) return true;
    if ((c < 0) != descending)
      low = middle + 1;
    else
      high = middle;
  }
  return false;
}

std::string record(std::uint32_t recno) { return "record " + std::to_string(recno); }

}  // namespace

void ProblemList::add(std::string problem) {
  if (shown_.size() < shown_at_most_)
    shown_.push_back(std::move(problem));
  else
    ++not_shown_;
}

bool compare_index_with_table(IndexList& indexes, std::size_t which, Table& table, const KeyDisplay& show,
                              ProblemList& problems) {
  NtxIndex& index = indexes.index(which);
  IndexEntries entries;
  if (!read_entries(index, entries)) {
    problems.add(index.error().message());
    return true;
  }
  const std::uint32_t count = table.record_count();
  const std::vector<std::size_t> order = by_record_number(entries);

  std::size_t at = 0;  // into `order`: the entries of records before `recno` are behind it
  for (; at < order.size() && entries.recnos[order[at]] == 0; ++at)
    problems.add("entry " + show(entries.key(order[at])) + " for record 0");
  for (std::uint32_t recno = 1; recno <= count; ++recno) {
    const std::size_t first = at;
    while (at < order.size() && entries.recnos[order[at]] == recno) ++at;
    const std::size_t held = at - first;
    if (!table.go_to(recno)) return false;
    if (!indexes.current_passes(which)) {
      if (held > 0) problems.add(record(recno) + " fails the index's condition but is in the index");
      continue;
    }
    const std::string key = indexes.current_key(which);
    if (held == 0) {
      // A unique index keeps one record of each key, whichever came first.
      const bool kept_for_another = index.definition().unique && holds_key(entries, key, index.definition().descending);
      if (!kept_for_another) problems.add(record(recno) + " with key " + show(key) + " is missing");
      continue;
    }
    if (held > 1) problems.add(record(recno) + " is in the index " + std::to_string(held) + " times");
    for (std::size_t i = first; i < at; ++i)
      if (entries.key(order[i]) != key)
        problems.add(record(recno) + " is under key " + show(entries.key(order[i])) + " but its key is " + show(key));
  }
  for (; at < order.size(); ++at)
    problems.add("entry " + show(entries.key(order[at])) + " for record " + std::to_string(entries.recnos[order[at]]) +
                 " beyond the table's " + std::to_string(count) + " records");
  return true;
}

}  // namespace intra::dbtool
