#include "storage/ntx_page.h"

#include <bitset>

namespace intra {

void NtxPage::write_item(int entry, std::uint32_t child_offset, std::uint32_t record, const unsigned char* key_bytes) {
  unsigned char* p = item(entry);
  ntx_bytes::put_u32(p, child_offset);
  ntx_bytes::put_u32(p + 4, record);
  std::memmove(p + 8, key_bytes, static_cast<std::size_t>(g_->key_size));
}

void NtxPage::insert(int position, std::uint32_t child_offset, std::uint32_t record, const unsigned char* key_bytes) {
  const int k = count();
  // A full page has no free slot; the tree never inserts there, and a
  // damaged tree must not make it write outside the slot table.
  if (k >= g_->max_keys || position < 0 || position > k) return;
  const int free_slot = slot(k + 1);
  for (int e = k + 1; e > position; --e) set_slot(e, slot(e - 1));
  set_slot(position, free_slot);
  write_item(position, child_offset, record, key_bytes);
  set_count(k + 1);
}

void NtxPage::remove(int position) {
  const int k = count();
  if (position < 0 || position >= k) return;
  const int removed_slot = slot(position);
  for (int e = position; e < k; ++e) set_slot(e, slot(e + 1));
  set_slot(k, removed_slot);
  set_count(k - 1);
}

void NtxPage::fill_next(std::uint32_t child_offset, std::uint32_t record, const unsigned char* key_bytes) {
  const int k = count();
  if (k >= g_->max_keys) return;
  write_item(k, child_offset, record, key_bytes);
  set_count(k + 1);
}

void NtxPage::format_new(unsigned char* bytes, const NtxGeometry& g) {
  std::memset(bytes, 0, kNtxBlockSize);
  for (int i = 0; i <= g.max_keys; ++i) ntx_bytes::put_u16(bytes + 2 + 2 * i, static_cast<std::uint32_t>(g.slot_at(i)));
}

std::string NtxPage::validate(const unsigned char* bytes, const NtxGeometry& g) {
  const int k = ntx_bytes::u16(bytes);
  if (k > g.max_keys) return "key count " + std::to_string(k) + " above " + std::to_string(g.max_keys);
  // At most 1022 / 11 slots exist, so a fixed bitset covers every geometry.
  std::bitset<kNtxBlockSize / 8> seen;
  for (int e = 0; e <= g.max_keys; ++e) {
    const int at = ntx_bytes::u16(bytes + 2 + 2 * e);
    const int from_first = at - g.items_at;
    if (from_first < 0 || from_first % g.item_size != 0 || from_first / g.item_size > g.max_keys)
      return "slot offset " + std::to_string(at) + " is not an item slot";
    const auto index = static_cast<std::size_t>(from_first / g.item_size);
    if (seen.test(index)) return "slot offset " + std::to_string(at) + " appears twice";
    seen.set(index);
  }
  return {};
}

}  // namespace intra
