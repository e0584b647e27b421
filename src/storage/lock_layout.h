#pragma once
// Where the engine's byte-range locks lie. All of them sit far beyond any
// data (except the memo lock, which covers the memo header byte), so they
// never block a read of real content.
//
//   standard layout (base 1,000,000,000)    extended layout (base 4,000,000,000)
//   record n:  base + n, 1 byte              base + n, 1 byte
//   file:      base + 1, 1,000,000,000       base + 1, 294,967,295
//   header:    base, 1 byte                  base, 1 byte
//   memo read/write: .dbt offset 0, 1 byte (shared / exclusive)
//
// The share mode of every open (Windows opens files with share modes; Linux
// has none) is kept in one more region above 2^32, beyond everything above:
// a shared open holds a shared lock on it for as long as the file is open,
// an exclusive open an exclusive one.
#include <cstdint>

namespace intra {

struct LockLayout {
  std::uint64_t base;
  std::uint64_t file_lock_length;

  std::uint64_t record(std::uint64_t n) const { return base + n; }
  std::uint64_t header() const { return base; }
  std::uint64_t file_lock_offset() const { return base + 1; }

  static constexpr LockLayout standard() { return {1'000'000'000ULL, 1'000'000'000ULL}; }
  static constexpr LockLayout extended() { return {4'000'000'000ULL, 294'967'295ULL}; }
};

inline constexpr std::uint64_t kMemoLockOffset = 0;
inline constexpr std::uint64_t kShareModeOffset = 0x2'0000'0000ULL;  // 2^33

}  // namespace intra
