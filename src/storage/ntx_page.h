#pragma once
// One 1024-byte page of an index file and the geometry its layout follows.
//
//   0            u16  key count k
//   2            m + 1 u16 slot offsets (the slot table): entries 0 .. k-1 are
//                the keys in order, entry k the rightmost child, entries
//                above k free slots
//   2m + 4       m + 1 item slots of key size + 8 bytes: u32 child (subtree
//                of smaller keys, 0 in a leaf), u32 record number, key
//
// The slot table is always a permutation of the m + 1 slots. Insertion and
// removal permute it and never move item bytes:
//   insert at p   the item goes into the first free slot (entry k + 1),
//                 which is rotated down to entry p;
//   remove at p   the slot of entry p is rotated up to entry k, where it
//                 becomes the first free slot of the shorter page.
// A page being filled from empty (bulk build, the new page of a split, a
// new root) takes its items through fill_next(), which writes into the
// slot of entry k itself, so a new page filled in order keeps its slot
// table in the order of the slots.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "storage/ntx_bytes.h"
#include "storage/ntx_header.h"

namespace intra {

struct NtxGeometry {
  int key_size = 0;
  int max_keys = 0;    // m
  int item_size = 0;   // key size + 8
  int items_at = 0;    // 2m + 4, the first item slot
  int min_keys = 0;    // m div 2: fewer keys in a non-root page is underflow

  static NtxGeometry of(int key_size, int max_keys) {
    NtxGeometry g;
    g.key_size = key_size;
    g.max_keys = max_keys;
    g.item_size = key_size + 8;
    g.items_at = 2 * max_keys + 4;
    g.min_keys = max_keys / 2;
    return g;
  }
  int slot_at(int i) const { return items_at + i * item_size; }
};

// A page's bytes with the flag telling whether they differ from the file.
struct NtxPageBuffer {
  std::uint32_t offset = 0;
  bool changed = false;
  bool recently_used = false;
  alignas(8) unsigned char bytes[kNtxBlockSize];
};

// A view of a page buffer; every change through it marks the buffer changed.
// Slot offsets are checked once when the page enters memory (validate()),
// so every access through the table stays inside the page.
class NtxPage {
 public:
  NtxPage() = default;
  NtxPage(NtxPageBuffer* buffer, const NtxGeometry* geometry) : buffer_(buffer), g_(geometry) {}

  explicit operator bool() const { return buffer_ != nullptr; }
  std::uint32_t offset() const { return buffer_->offset; }
  const unsigned char* bytes() const { return buffer_->bytes; }
  const NtxGeometry& geometry() const { return *g_; }

  int count() const { return ntx_bytes::u16(buffer_->bytes); }
  int slot(int entry) const { return ntx_bytes::u16(buffer_->bytes + 2 + 2 * entry); }
  std::uint32_t child(int entry) const { return ntx_bytes::u32(item(entry)); }
  std::uint32_t recno(int entry) const { return ntx_bytes::u32(item(entry) + 4); }
  const unsigned char* key(int entry) const { return item(entry) + 8; }
  std::string_view key_view(int entry) const {
    return {reinterpret_cast<const char*>(key(entry)), static_cast<std::size_t>(g_->key_size)};
  }
  bool is_leaf_entry(int entry) const { return child(entry) == 0; }

  void set_child(int entry, std::uint32_t child_offset) {
    ntx_bytes::put_u32(item(entry), child_offset);
    touch();
  }
  // Record number and key of an entry; its child stays.
  void set_item(int entry, std::uint32_t record, const unsigned char* key_bytes) {
    ntx_bytes::put_u32(item(entry) + 4, record);
    std::memmove(item(entry) + 8, key_bytes, static_cast<std::size_t>(g_->key_size));
    touch();
  }
  void set_count(int k) {
    ntx_bytes::put_u16(buffer_->bytes, static_cast<std::uint32_t>(k));
    touch();
  }

  // Requires count() < m.
  void insert(int position, std::uint32_t child_offset, std::uint32_t record, const unsigned char* key_bytes);
  // Requires 0 <= position < count().
  void remove(int position);
  // Appends to a page being filled from empty; requires count() < m. The
  // caller sets the rightmost child (entry count()) when the page is done.
  void fill_next(std::uint32_t child_offset, std::uint32_t record, const unsigned char* key_bytes);

  // A new page: slot table in slot order, everything else zero.
  static void format_new(unsigned char* bytes, const NtxGeometry& geometry);
  // Why the bytes cannot be used as a page (key count above m, a slot table
  // that is not a permutation of the slots), empty when they can.
  static std::string validate(const unsigned char* bytes, const NtxGeometry& geometry);

 private:
  unsigned char* item(int entry) const { return buffer_->bytes + slot(entry); }
  void set_slot(int entry, int slot_offset) {
    ntx_bytes::put_u16(buffer_->bytes + 2 + 2 * entry, static_cast<std::uint32_t>(slot_offset));
  }
  void write_item(int entry, std::uint32_t child_offset, std::uint32_t record, const unsigned char* key_bytes);
  void touch() { buffer_->changed = true; }

  NtxPageBuffer* buffer_ = nullptr;
  const NtxGeometry* g_ = nullptr;
};

}  // namespace intra
