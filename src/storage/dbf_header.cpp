#include "storage/dbf_header.h"

#include <cstdio>

#include "storage/field_codec.h"

namespace intra {
namespace {

std::uint16_t u16(std::string_view b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8);
}
std::uint32_t u32(std::string_view b, std::size_t at) {
  return static_cast<std::uint32_t>(u16(b, at)) | static_cast<std::uint32_t>(u16(b, at + 2)) << 16;
}
void put16(std::string& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& b, std::size_t at, std::uint32_t v) {
  put16(b, at, v & 0xFFFF);
  put16(b, at + 2, v >> 16);
}

}  // namespace

bool version_accepted(std::uint8_t version) {
  return version == 0x03 || version == 0x83 || version == 0xF5 || version == 0x30;
}

bool has_memo(const TableHeader& header, const std::vector<FieldDescriptor>& fields) {
  if (header.version == 0x83 || header.version == 0xF5) return true;
  if (header.version == 0x30 && (header.flags & 0x02)) return true;
  for (const FieldDescriptor& f : fields)
    if (f.type == 'M') return true;
  return false;
}

std::string encode_header(const TableHeader& h) {
  std::string b(kHeaderSize, '\0');
  b[0] = static_cast<char>(h.version);
  if (!h.last_update.empty()) {
    b[1] = static_cast<char>((h.last_update.year() - 1900) & 0xFF);
    b[2] = static_cast<char>(h.last_update.month());
    b[3] = static_cast<char>(h.last_update.day());
  }
  put32(b, 4, h.record_count);
  put16(b, 8, h.header_length);
  put16(b, 10, h.record_length);
  b[28] = static_cast<char>(h.flags & 0x01);
  b[29] = static_cast<char>(h.code_page);
  return b;
}

TableHeader decode_header(std::string_view b) {
  TableHeader h;
  h.version = static_cast<std::uint8_t>(b[0]);
  h.last_update = Date::from_ymd(1900 + static_cast<std::uint8_t>(b[1]), static_cast<std::uint8_t>(b[2]),
                                 static_cast<std::uint8_t>(b[3]));
  h.record_count = u32(b, 4);
  h.header_length = u16(b, 8);
  h.record_length = u16(b, 10);
  h.flags = static_cast<std::uint8_t>(b[28]);
  h.code_page = static_cast<std::uint8_t>(b[29]);
  return h;
}

std::string encode_descriptor(const FieldDescriptor& f) {
  std::string b(kDescriptorSize, '\0');
  for (std::size_t i = 0; i < f.name.size() && i < 10; ++i) b[i] = f.name[i];
  b[11] = f.type;
  if (f.type == 'C') {
    b[16] = static_cast<char>(f.width & 0xFF);
    b[17] = static_cast<char>((f.width >> 8) & 0xFF);
  } else {
    b[16] = static_cast<char>(f.width);
    b[17] = static_cast<char>(f.decimals);
  }
  return b;
}

std::optional<std::vector<FieldDescriptor>> decode_descriptors(std::string_view area, std::string& problem) {
  std::vector<FieldDescriptor> fields;
  int offset = 1;
  for (std::size_t at = 0; at + kDescriptorSize <= area.size(); at += kDescriptorSize) {
    const std::string_view d = area.substr(at, kDescriptorSize);
    if (static_cast<std::uint8_t>(d[0]) == kHeaderTerminator) break;
    FieldDescriptor f;
    for (std::size_t i = 0; i < 10 && d[i] != '\0'; ++i) {
      char c = d[i];
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      f.name += c;
    }
    f.type = d[11];
    if (f.type == 'C') {
      f.width = static_cast<std::uint8_t>(d[16]) | static_cast<std::uint8_t>(d[17]) << 8;
    } else {
      f.width = static_cast<std::uint8_t>(d[16]);
      f.decimals = static_cast<std::uint8_t>(d[17]);
    }
    if (!valid_field_type(f.type, f.width)) {
      char buf[96];
      std::snprintf(buf, sizeof buf, "unknown field type 0x%02X of field %s", static_cast<std::uint8_t>(f.type),
                    f.name.c_str());
      problem = buf;
      return std::nullopt;
    }
    if (f.width <= 0) {
      problem = "field " + f.name + " has width 0";
      return std::nullopt;
    }
    f.offset = offset;
    offset += f.width;
    fields.push_back(std::move(f));
  }
  if (fields.empty()) {
    problem = "no field";
    return std::nullopt;
  }
  if (offset > 0xFFFF) {
    problem = "record longer than 65535 bytes";
    return std::nullopt;
  }
  return fields;
}

int record_length_of(const std::vector<FieldDescriptor>& fields) {
  int length = 1;
  for (const FieldDescriptor& f : fields) length += f.width;
  return length;
}

int header_length_of(const std::vector<FieldDescriptor>& fields) {
  return static_cast<int>(kHeaderSize + kDescriptorSize * fields.size() + 2);
}

}  // namespace intra
