#pragma once
// Errors of the table, memo and index engine: the general code, specific
// code and text of the engine's error table, the operating system's code
// and the file concerned. A table or cursor keeps the last one it met; the
// work-area layer hands it to the run's error handler.
#include <string>

#include "main/run_error.h"

namespace intra {

enum class TableErrorKind {
  None,
  OpenError,          // 1001 / 21
  CreateError,        // 1004 / 20
  IndexOpenError,     // 1003 / 21
  IndexCreateError,   // 1006 / 20
  ReadError,          // 1010 / 23
  WriteError,         // 1011 / 24
  Corruption,         // 1012 / 32
  DataType,           // 1020 / 33
  DataWidth,          // 1021 / 34
  LockRequired,       // 1022 / 38
  ExclusiveRequired,  // 1023 / 37
  AppendLockFailed,   // 1024 / 40
  WriteNotAllowed,    // 1025 / 39
  LockFailure,        // 1038 / 41
  KeyDataType,        // 1026 / 33: an index key of no key type
  KeyDataWidth,       // 1026 / 34: an index key of width 0
};

struct TableError {
  TableErrorKind kind = TableErrorKind::None;
  int os_code = 0;       // DOS-style code (dos_error_code); 32 for a sharing conflict
  std::string file;      // the program's name of the file, e.g. 24\05\as.dbf
  std::string detail;    // what exactly was wrong, e.g. "bad version byte 0x04"

  static TableError make(TableErrorKind kind, std::string file, std::string detail = {}, int os_code = 0);

  explicit operator bool() const { return kind != TableErrorKind::None; }
  int specific_code() const;
  int general_code() const;
  const char* text() const;  // "Open error", "Corruption detected", ...
  bool retry_offered() const;
  bool sharing_conflict() const { return os_code == kSharingViolation; }
  // "Corruption detected: bad version byte 0x04 in 24/05/as.dbf"
  std::string message() const;
  RunError to_run_error() const;
};

// The DOS error code the messages show for an errno value: 2 file not
// found, 3 path not found, 4 too many open files, 5 access denied, 32
// sharing violation, 33 lock violation, 39 disk full; others as they are.
int dos_error_code(int errno_value);

}  // namespace intra
