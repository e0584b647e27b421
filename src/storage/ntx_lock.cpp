#include "storage/ntx_lock.h"

namespace intra {

NtxLock::NtxLock(File& file, bool extended) : file_(file), extended_(extended), random_(std::random_device{}()) {}

bool NtxLock::acquire(bool write) {
  std::uint64_t offset = kStandardOffset;
  std::uint64_t length = 1;
  if (extended_ && write) {
    offset = kExtendedOffset;
    length = kExtendedLength;
  } else if (extended_) {
    offset = kExtendedOffset + 1 + random_() % (kExtendedLength - 1);
  }
  if (!file_.lock_wait(offset, length, write)) return false;
  offset_ = offset;
  length_ = length;
  return true;
}

bool NtxLock::release() {
  if (length_ == 0) return true;
  const std::uint64_t offset = offset_;
  const std::uint64_t length = length_;
  length_ = 0;
  return file_.unlock(offset, length);
}

}  // namespace intra
