#include "storage/table_error.h"

#include <cerrno>

namespace intra {
namespace {

struct Entry {
  int specific, general;
  const char* text;
  bool retry;
};

Entry entry_of(TableErrorKind kind) {
  switch (kind) {
    case TableErrorKind::None: return {0, 0, "", false};
    case TableErrorKind::OpenError: return {1001, 21, "Open error", true};
    case TableErrorKind::CreateError: return {1004, 20, "Create error", true};
    case TableErrorKind::IndexOpenError: return {1003, 21, "Open error", true};
    case TableErrorKind::IndexCreateError: return {1006, 20, "Create error", true};
    case TableErrorKind::ReadError: return {1010, 23, "Read error", false};
    case TableErrorKind::WriteError: return {1011, 24, "Write error", false};
    case TableErrorKind::Corruption: return {1012, 32, "Corruption detected", false};
    case TableErrorKind::DataType: return {1020, 33, "Data type error", false};
    case TableErrorKind::DataWidth: return {1021, 34, "Data width error", false};
    case TableErrorKind::LockRequired: return {1022, 38, "Lock required", false};
    case TableErrorKind::ExclusiveRequired: return {1023, 37, "Exclusive required", false};
    case TableErrorKind::AppendLockFailed: return {1024, 40, "Append lock failed", false};
    case TableErrorKind::WriteNotAllowed: return {1025, 39, "Write not allowed", false};
    case TableErrorKind::LockFailure: return {1038, 41, "Lock Failure", false};
    case TableErrorKind::KeyDataType: return {1026, 33, "Data type error", false};
    case TableErrorKind::KeyDataWidth: return {1026, 34, "Data width error", false};
  }
  return {0, 0, "", false};
}

}  // namespace

TableError TableError::make(TableErrorKind kind, std::string file, std::string detail, int os_code) {
  TableError e;
  e.kind = kind;
  e.file = std::move(file);
  e.detail = std::move(detail);
  e.os_code = os_code;
  return e;
}

int TableError::specific_code() const { return entry_of(kind).specific; }
int TableError::general_code() const { return entry_of(kind).general; }
const char* TableError::text() const { return entry_of(kind).text; }
bool TableError::retry_offered() const { return entry_of(kind).retry; }

std::string TableError::message() const {
  std::string s = text();
  if (!detail.empty()) s += ": " + detail;
  if (!file.empty()) s += (detail.empty() ? ": " : " in ") + file;
  if (os_code != 0) s += " (DOS Error " + std::to_string(os_code) + ")";
  return s;
}

RunError TableError::to_run_error() const {
  RunError r;
  r.description = detail.empty() ? text() : std::string(text()) + " (" + detail + ")";
  r.subsystem = "DBFNTX";
  r.general_code = general_code();
  r.specific_code = specific_code();
  r.os_code = os_code;
  r.operation = file;
  r.can_retry = retry_offered();
  r.can_default = true;
  return r;
}

int dos_error_code(int e) {
  switch (e) {
    case 0: return 0;
    case ENOENT: return 2;
    case ENOTDIR: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EROFS: return 5;
    case EAGAIN: return 33;
    case ENOSPC:
    case EDQUOT: return 39;
    default: return e;
  }
}

}  // namespace intra
