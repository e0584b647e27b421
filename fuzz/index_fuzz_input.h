#pragma once
// The bytes one fuzz input of the index target stands for, and the way
// the seed generator writes them:
//
//   0     control byte (see below)
//   1..   the index file x.ntx
//
// Control byte: bits 0-5 choose an I/O fault of the changing passes (0
// none, 1-31 the n-th file operation fails once, 32-63 every operation
// from the (n-31)-th on fails, as fault_file_system.h counts them); bit 6
// opens the table with shared use in the table pass; bit 7 makes 32
// changes of the tree instead of 4.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace intra::fuzz {

class IndexFuzzInput {
 public:
  static constexpr std::size_t kPrefix = 1;
  static constexpr std::uint8_t kSharedTable = 0x40;
  static constexpr std::uint8_t kManyChanges = 0x80;

  // Nothing when the input is too short to hold the control byte.
  static std::optional<IndexFuzzInput> parse(const std::uint8_t* data, std::size_t size) {
    if (size < kPrefix) return std::nullopt;
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    return IndexFuzzInput(all.substr(kPrefix), data[0]);
  }

  static std::string encode(std::string_view index, std::uint8_t control = 0) {
    std::string out(1, static_cast<char>(control));
    out.append(index);
    return out;
  }

  std::string_view index() const { return index_; }
  int fault_setting() const { return control_ & 0x3F; }
  bool shared_table() const { return (control_ & kSharedTable) != 0; }
  bool many_changes() const { return (control_ & kManyChanges) != 0; }

 private:
  IndexFuzzInput(std::string_view index, std::uint8_t control) : index_(index), control_(control) {}
  std::string_view index_;
  std::uint8_t control_;
};

}  // namespace intra::fuzz
