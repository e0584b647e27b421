#include "storage/ntx_header.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "storage/ntx_bytes.h"

namespace intra {
namespace {

using ntx_bytes::put_u16;
using ntx_bytes::put_u32;
using ntx_bytes::u16;
using ntx_bytes::u32;

constexpr std::size_t kTypeWordAt = 0;
constexpr std::size_t kVersionAt = 2;
constexpr std::size_t kRootAt = 4;
constexpr std::size_t kFreeAt = 8;
constexpr std::size_t kItemSizeAt = 12;
constexpr std::size_t kKeySizeAt = 14;
constexpr std::size_t kDecimalsAt = 16;
constexpr std::size_t kMaxKeysAt = 18;
constexpr std::size_t kHalfPageAt = 20;
constexpr std::size_t kKeyExpressionAt = 22;
constexpr std::size_t kTextWidth = 256;
constexpr std::size_t kUniqueAt = 278;
constexpr std::size_t kDescendingAt = 280;
constexpr std::size_t kConditionAt = 282;
constexpr std::size_t kOrderNameAt = 538;
constexpr std::size_t kOrderNameWidth = 12;
constexpr std::size_t kCustomAt = 550;

constexpr std::uint16_t kPlainTypeWord = 6;
constexpr std::uint16_t kConditionBit = 1;
constexpr std::uint16_t kExtendedLocksBit = 0x20;
constexpr std::uint16_t kFirstBadTypeWord = 0x40;
constexpr unsigned char kFirstTextByte = 0x20;

std::string text_at(const unsigned char* bytes, std::size_t width) {
  const auto* end = std::find(bytes, bytes + width, 0);
  return std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(end - bytes));
}

void put_text(unsigned char* bytes, std::string_view text) { std::memcpy(bytes, text.data(), text.size()); }

// A page holds its count, m + 1 slot offsets and m + 1 item slots.
bool page_holds(int max_keys, int key_size) {
  return max_keys >= 2 && 2 + (max_keys + 1) * (key_size + 10) <= static_cast<int>(kNtxBlockSize);
}

}  // namespace

int ntx_max_keys_for(int key_size) {
  int m = 1022 / (key_size + 10) - 1;
  if (m % 2 == 1 && m > 2) --m;
  return m;
}

NtxHeader NtxHeader::for_definition(const NtxDefinition& d) {
  NtxHeader h;
  h.state.type_word = static_cast<std::uint16_t>(kPlainTypeWord | (d.condition.empty() ? 0 : kConditionBit) |
                                                 (d.extended_locks ? kExtendedLocksBit : 0));
  h.item_size = d.key_size + 8;
  h.key_size = d.key_size;
  h.key_decimals = d.key_decimals;
  h.max_keys = ntx_max_keys_for(d.key_size);
  h.half_page = h.max_keys / 2;
  h.key_expression = d.key_expression;
  h.unique = d.unique;
  h.descending = d.descending;
  h.condition = d.condition;
  h.stored_order_name = d.order_name;
  h.custom = d.custom;
  return h;
}

bool NtxHeader::has_condition() const {
  return (state.type_word & kConditionBit) != 0 && !condition.empty() &&
         static_cast<unsigned char>(condition[0]) >= kFirstTextByte;
}

NtxDefinition NtxHeader::definition() const {
  NtxDefinition d;
  d.key_expression = key_expression;
  if (has_condition()) d.condition = condition;
  d.key_size = key_size;
  d.key_decimals = key_decimals;
  d.unique = unique;
  d.descending = descending;
  d.custom = custom;
  d.order_name = stored_order_name;
  d.extended_locks = extended_locks();
  return d;
}

std::string NtxHeader::refusal(const NtxDefinition& d) {
  if (d.key_size < 1 || d.key_size > kNtxMaxKeySize) return "key size " + std::to_string(d.key_size) + " is not 1 to 256";
  if (d.key_decimals < 0 || d.key_decimals > 0xFFFF) return "key decimals " + std::to_string(d.key_decimals);
  if (d.key_expression.empty() || static_cast<unsigned char>(d.key_expression[0]) < kFirstTextByte)
    return "key expression must start with a printable character";
  if (d.key_expression.size() >= kTextWidth) return "key expression longer than 255 bytes";
  if (d.key_expression.find('\0') != std::string::npos) return "key expression holds a NUL byte";
  if (!d.condition.empty() && static_cast<unsigned char>(d.condition[0]) < kFirstTextByte)
    return "condition must start with a printable character";
  if (d.condition.size() >= kTextWidth) return "condition longer than 255 bytes";
  if (d.condition.find('\0') != std::string::npos) return "condition holds a NUL byte";
  if (d.order_name.size() > kOrderNameWidth) return "order name longer than 12 bytes";
  return {};
}

NtxHeaderBlock encode_ntx_header(const NtxHeader& h) {
  NtxHeaderBlock block{};
  const NtxShortHeaderBlock head = encode_ntx_header_state(h.state);
  std::copy(head.begin(), head.end(), block.begin());
  put_u16(&block[kItemSizeAt], static_cast<std::uint32_t>(h.item_size));
  put_u16(&block[kKeySizeAt], static_cast<std::uint32_t>(h.key_size));
  put_u16(&block[kDecimalsAt], static_cast<std::uint32_t>(h.key_decimals));
  put_u16(&block[kMaxKeysAt], static_cast<std::uint32_t>(h.max_keys));
  put_u16(&block[kHalfPageAt], static_cast<std::uint32_t>(h.half_page));
  put_text(&block[kKeyExpressionAt], std::string_view(h.key_expression).substr(0, kTextWidth));
  block[kUniqueAt] = h.unique ? 1 : 0;
  block[kDescendingAt] = h.descending ? 1 : 0;
  put_text(&block[kConditionAt], std::string_view(h.condition).substr(0, kTextWidth));
  put_text(&block[kOrderNameAt], std::string_view(h.stored_order_name).substr(0, kOrderNameWidth));
  block[kCustomAt] = h.custom ? 1 : 0;
  return block;
}

NtxShortHeaderBlock encode_ntx_header_state(const NtxHeaderState& s) {
  NtxShortHeaderBlock block{};
  put_u16(&block[kTypeWordAt], s.type_word);
  put_u16(&block[kVersionAt], s.version);
  put_u32(&block[kRootAt], s.root);
  put_u32(&block[kFreeAt], s.free_page);
  return block;
}

NtxHeaderState decode_ntx_header_state(const unsigned char* bytes) {
  NtxHeaderState s;
  s.type_word = u16(bytes + kTypeWordAt);
  s.version = u16(bytes + kVersionAt);
  s.root = u32(bytes + kRootAt);
  s.free_page = u32(bytes + kFreeAt);
  return s;
}

std::optional<NtxHeader> decode_ntx_header(const NtxHeaderBlock& b, std::string& problem) {
  NtxHeader h;
  h.state = decode_ntx_header_state(b.data());
  char buffer[64];
  if (h.state.type_word >= kFirstBadTypeWord) {
    std::snprintf(buffer, sizeof buffer, "type word 0x%02X", static_cast<unsigned>(h.state.type_word));
    problem = buffer;
    return std::nullopt;
  }
  if (b[kKeyExpressionAt] < kFirstTextByte) {
    std::snprintf(buffer, sizeof buffer, "key expression starts with byte 0x%02X", static_cast<unsigned>(b[kKeyExpressionAt]));
    problem = buffer;
    return std::nullopt;
  }
  h.item_size = u16(&b[kItemSizeAt]);
  h.key_size = u16(&b[kKeySizeAt]);
  h.key_decimals = u16(&b[kDecimalsAt]);
  h.max_keys = u16(&b[kMaxKeysAt]);
  h.half_page = u16(&b[kHalfPageAt]);
  if (h.key_size < 1 || h.key_size > kNtxMaxKeySize) {
    problem = "key size " + std::to_string(h.key_size);
    return std::nullopt;
  }
  if (h.item_size != h.key_size + 8) {
    problem = "item size " + std::to_string(h.item_size) + " for key size " + std::to_string(h.key_size);
    return std::nullopt;
  }
  if (!page_holds(h.max_keys, h.key_size)) {
    problem = "maximum keys " + std::to_string(h.max_keys) + " for key size " + std::to_string(h.key_size);
    return std::nullopt;
  }
  h.key_expression = text_at(&b[kKeyExpressionAt], kTextWidth);
  h.unique = b[kUniqueAt] != 0;
  h.descending = b[kDescendingAt] != 0;
  h.condition = text_at(&b[kConditionAt], kTextWidth);
  h.stored_order_name = text_at(&b[kOrderNameAt], kOrderNameWidth);
  h.custom = b[kCustomAt] != 0;
  return h;
}

}  // namespace intra
