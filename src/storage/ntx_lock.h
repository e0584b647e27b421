#pragma once
// The index locks other stations take on the same .ntx file, held for one
// operation and always waited for. Taken only with shared use.
//
//   standard layout   read: 1 byte at 1,000,000,000 shared
//                     write: the same byte exclusive
//   extended layout   (type word bit 0x20) write: the 65,537 bytes from
//                     4,294,901,759 exclusive; read: 1 byte at
//                     4,294,901,759 + r shared, r drawn from 1..65,536, so
//                     readers rarely meet on one byte while every reader
//                     still excludes a writer
#include <cstdint>
#include <random>

#include "storage/file_system.h"

namespace intra {

class NtxLock {
 public:
  static constexpr std::uint64_t kStandardOffset = 1'000'000'000ULL;
  static constexpr std::uint64_t kExtendedOffset = 4'294'901'759ULL;
  static constexpr std::uint64_t kExtendedLength = 65'537ULL;

  NtxLock(File& file, bool extended);

  // False when the lock call fails (file.os_error() tells why).
  bool acquire(bool write);
  bool release();
  bool held() const { return length_ != 0; }

 private:
  File& file_;
  bool extended_;
  std::uint64_t offset_ = 0;
  std::uint64_t length_ = 0;
  std::minstd_rand random_;
};

}  // namespace intra
