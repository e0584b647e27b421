#pragma once
// The bytes one fuzz input of the table target stands for, and the way the
// seed generator writes them:
//
//   0-1   length L of the table part, little-endian (cut to what is there)
//   2     control byte (see below)
//   3..   L bytes of the table file t.dbf, then the memo file t.dbt; an
//         empty memo part means there is no memo file at all
//
// Control byte: bits 0-5 choose an I/O fault of the changing pass (0 none,
// 1-31 the n-th file operation fails once, 32-63 every operation from the
// (n-31)-th on fails); bit 6 zaps the table at the end of that pass; bit 7
// changes up to 32 records instead of 4.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace intra::fuzz {

class FuzzInput {
 public:
  static constexpr std::size_t kPrefix = 3;
  static constexpr std::uint8_t kZap = 0x40;
  static constexpr std::uint8_t kManyChanges = 0x80;

  // Nothing when the input is too short to hold the prefix.
  static std::optional<FuzzInput> parse(const std::uint8_t* data, std::size_t size) {
    if (size < kPrefix) return std::nullopt;
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t declared = static_cast<std::size_t>(data[0]) | static_cast<std::size_t>(data[1]) << 8;
    const std::size_t table_length = declared < size - kPrefix ? declared : size - kPrefix;
    return FuzzInput(all.substr(kPrefix, table_length), all.substr(kPrefix + table_length), data[2]);
  }

  // The input for a table file and a memo file (at most 65535 table bytes).
  static std::string encode(std::string_view table, std::string_view memo, std::uint8_t control = 0) {
    std::string out;
    out += static_cast<char>(table.size() & 0xFF);
    out += static_cast<char>((table.size() >> 8) & 0xFF);
    out += static_cast<char>(control);
    out.append(table.substr(0, 0xFFFF));
    out.append(memo);
    return out;
  }

  std::string_view table() const { return table_; }
  std::string_view memo() const { return memo_; }
  std::uint8_t control() const { return control_; }
  int fault_setting() const { return control_ & 0x3F; }
  bool zap() const { return (control_ & kZap) != 0; }
  bool many_changes() const { return (control_ & kManyChanges) != 0; }

 private:
  FuzzInput(std::string_view table, std::string_view memo, std::uint8_t control)
      : table_(table), memo_(memo), control_(control) {}
  std::string_view table_;
  std::string_view memo_;
  std::uint8_t control_;
};

}  // namespace intra::fuzz
