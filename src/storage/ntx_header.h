#pragma once
// The 1024-byte header of an index file (.ntx) and the definition of an
// index as a caller gives it at creation.
//
// Layout (integers little-endian):
//   0   u16  type word: 6, +1 with a condition, +0x20 for the extended locks
//   2   u16  version counter, +1 at every header write
//   4   u32  offset of the root page
//   8   u32  offset of the first free page, 0 when none
//   12  u16  item size = key size + 8
//   14  u16  key size
//   16  u16  key decimals
//   18  u16  maximum keys per page (m)
//   20  u16  half page = m div 2
//   22  256  key expression, NUL-padded
//   278 u8   unique flag          280 u8  descending flag
//   282 256  condition, NUL-padded
//   538 12   order name, NUL-padded (zero when none was given)
//   550 u8   custom flag; the rest zero.
// The normal write after a change covers the first 12 bytes only (type
// word, version, root, free); the whole header is written when the index is
// created, rebuilt or emptied.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace intra {

struct NtxDefinition {
  std::string key_expression;  // stored text, 1..255 bytes
  std::string condition;       // empty: none
  int key_size = 0;            // 1..256
  int key_decimals = 0;
  bool unique = false;
  bool descending = false;
  bool custom = false;
  std::string order_name;      // written at 538 only when given (at most 12 bytes)
  bool extended_locks = false;
};

inline constexpr std::size_t kNtxBlockSize = 1024;
inline constexpr std::size_t kNtxShortHeaderSize = 12;
inline constexpr int kNtxMaxKeySize = 256;

// Keys per page for a key size: 1022 div (key size + 10) - 1, made even
// when it is odd and above 2 (10 -> 50, 8 -> 54, 30 -> 24, 256 -> 2).
int ntx_max_keys_for(int key_size);

// The part of the header every update rewrites.
struct NtxHeaderState {
  std::uint16_t type_word = 0;
  std::uint16_t version = 0;
  std::uint32_t root = 0;
  std::uint32_t free_page = 0;
};

struct NtxHeader {
  NtxHeaderState state;
  int item_size = 0;
  int key_size = 0;
  int key_decimals = 0;
  int max_keys = 0;
  int half_page = 0;
  std::string key_expression;
  bool unique = false;
  bool descending = false;
  std::string condition;         // as stored, whether or not the type word enables it
  std::string stored_order_name; // the 12 bytes at 538 up to the first NUL
  bool custom = false;

  // The header a new index of `definition` gets; root and version are the
  // caller's (the full header is written once the pages are in place).
  static NtxHeader for_definition(const NtxDefinition& definition);

  bool has_condition() const;          // type word bit 0 and a condition text
  bool extended_locks() const { return (state.type_word & 0x20) != 0; }
  NtxDefinition definition() const;

  // Why a definition cannot be stored, empty when it can.
  static std::string refusal(const NtxDefinition& definition);
};

using NtxHeaderBlock = std::array<unsigned char, kNtxBlockSize>;
using NtxShortHeaderBlock = std::array<unsigned char, kNtxShortHeaderSize>;

NtxHeaderBlock encode_ntx_header(const NtxHeader& header);
NtxShortHeaderBlock encode_ntx_header_state(const NtxHeaderState& state);
NtxHeaderState decode_ntx_header_state(const unsigned char* bytes);

// Reads a whole header and applies the opening checks (type word below
// 0x40, key expression starting with a byte of at least 0x20) and the
// geometry checks the pages depend on (key size 1..256, item size = key
// size + 8, a page able to hold its maximum keys). On failure `problem`
// says what is wrong, e.g. "type word 0x46".
std::optional<NtxHeader> decode_ntx_header(const NtxHeaderBlock& bytes, std::string& problem);

}  // namespace intra
