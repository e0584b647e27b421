#pragma once
// The table file's 32-byte header and its 32-byte field descriptors, as
// bytes on disk. All integers little-endian.
//
//   header: 0 version | 1-3 date of last update (year-1900, month, day) |
//           4 record count (u32) | 8 header length (u16) | 10 record length (u16) |
//           12-27 reserved | 28 flags | 29 code page | 30-31 reserved
//   descriptor: 0-10 name (NUL padded, byte 10 always 0) | 11 type |
//           16 width | 17 decimals (for C: high byte of the width) | rest zero
//   after the descriptors: 0x0D 0x00, counted in the header length.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "main/date.h"

namespace intra {

inline constexpr std::size_t kHeaderSize = 32;
inline constexpr std::size_t kDescriptorSize = 32;
inline constexpr std::uint8_t kHeaderTerminator = 0x0D;
inline constexpr std::uint8_t kEndOfFile = 0x1A;

struct FieldDescriptor {
  std::string name;        // upper case, at most 10 characters
  char type = 'C';         // C N D L M, read also F I B 8 2 4
  int width = 0;           // 1..65535 for C
  int decimals = 0;
  int offset = 0;          // of the field in the record (the deletion flag is byte 0)
};

struct TableHeader {
  std::uint8_t version = 0x03;
  Date last_update;
  std::uint32_t record_count = 0;
  std::uint16_t header_length = 0;
  std::uint16_t record_length = 0;
  std::uint8_t flags = 0;
  std::uint8_t code_page = 0;
};

// Accepted version bytes: 0x03, 0x83, 0xF5, 0x30.
bool version_accepted(std::uint8_t version);
// Memo fields: version 0x83 or 0xF5, 0x30 with flag bit 1, or any M field.
bool has_memo(const TableHeader& header, const std::vector<FieldDescriptor>& fields);

// The 32 header bytes. Reserved bytes are zero; only bit 0 of the flags is kept.
std::string encode_header(const TableHeader& header);
TableHeader decode_header(std::string_view bytes);  // at least 32 bytes

std::string encode_descriptor(const FieldDescriptor& field);
// Parses the descriptor area (header length - 32 bytes). Returns the fields
// with their offsets, or nothing with `problem` saying why: no field,
// unknown type letter, a truncated area.
std::optional<std::vector<FieldDescriptor>> decode_descriptors(std::string_view area, std::string& problem);

// 1 + the sum of the widths.
int record_length_of(const std::vector<FieldDescriptor>& fields);
// 32 + 32 per field + 2.
int header_length_of(const std::vector<FieldDescriptor>& fields);

}  // namespace intra
