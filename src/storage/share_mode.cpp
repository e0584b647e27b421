#include "storage/share_mode.h"

#include <cerrno>

#include "storage/lock_layout.h"

namespace intra {

ShareResult take_share_mode(File& file, bool exclusive) {
  if (file.lock(kShareModeOffset, 1, exclusive)) return ShareResult::Granted;
  int error = file.os_error();
  if (exclusive && error == EBADF) {
    if (file.lock(kShareModeOffset, 1, false)) return ShareResult::Granted;
    error = file.os_error();
  }
  return error == EAGAIN || error == EACCES ? ShareResult::Conflict : ShareResult::Failed;
}

}  // namespace intra
