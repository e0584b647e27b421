#pragma once
// All file access of the program goes through a FileSystem, which takes the
// program's DOS names (see dos_path.h). PosixFileSystem is the real one; a
// test may wrap it to inject faults. Operations report failure by their
// result and keep the operating system's error code for the error message.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "main/clock.h"
#include "storage/dos_path.h"

namespace intra {

enum class OpenMode {
  Read,           // existing file, read only
  ReadWrite,      // existing file
  Create,         // read and write, created when missing, contents kept
  CreateTruncate  // read and write, created or emptied
};

// An open file: positioned reads and writes, size, truncation, flushing and
// byte-range locks that other processes (other workstations on the share)
// see. Locks belong to the open file, not to the process, so two opens in
// one process exclude each other as two stations do.
class File {
 public:
  virtual ~File() = default;
  // Bytes actually read or written; -1 on an error (see os_error()).
  virtual long long read_at(std::uint64_t offset, void* buffer, std::size_t size) = 0;
  virtual long long write_at(std::uint64_t offset, const void* buffer, std::size_t size) = 0;
  virtual std::optional<std::uint64_t> size() = 0;
  virtual bool truncate(std::uint64_t size) = 0;
  virtual bool sync() = 0;
  // Byte-range lock that fails at once when another holder conflicts.
  virtual bool lock(std::uint64_t offset, std::uint64_t length, bool exclusive) = 0;
  // Byte-range lock that waits until it is granted (false only on an error).
  virtual bool lock_wait(std::uint64_t offset, std::uint64_t length, bool exclusive) = 0;
  virtual bool unlock(std::uint64_t offset, std::uint64_t length) = 0;
  virtual int os_error() const = 0;
};

struct FileInfo {
  std::uint64_t size = 0;
  LocalTime modified;
  bool directory = false;
};

struct DirectoryEntry {
  std::string name;  // as stored on disk
  FileInfo info;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The POSIX path a DOS name stands for (see DosPathMapper::map).
  virtual std::filesystem::path resolve(std::string_view dos_path) const = 0;
  virtual bool exists(std::string_view dos_path) const = 0;
  virtual bool is_directory(std::string_view dos_path) const = 0;
  virtual std::optional<FileInfo> info(std::string_view dos_path) const = 0;
  // Entries of a directory matching a DOS wildcard ("rob\strukt*.dbf"),
  // sorted by name; directories are listed only when `with_directories`.
  virtual std::vector<DirectoryEntry> list(std::string_view dos_pattern, bool with_directories = false) const = 0;
  virtual bool remove(std::string_view dos_path) = 0;
  virtual bool rename(std::string_view from, std::string_view to) = 0;
  virtual bool copy(std::string_view from, std::string_view to) = 0;
  // Creates a directory and any missing parents.
  virtual bool make_directory(std::string_view dos_path) = 0;
  // nullptr on failure; last_error() tells why.
  virtual std::unique_ptr<File> open(std::string_view dos_path, OpenMode mode) = 0;
  virtual int last_error() const = 0;
};

class PosixFileSystem final : public FileSystem {
 public:
  explicit PosixFileSystem(DosPathMapper mapper);

  std::filesystem::path resolve(std::string_view dos_path) const override;
  bool exists(std::string_view dos_path) const override;
  bool is_directory(std::string_view dos_path) const override;
  std::optional<FileInfo> info(std::string_view dos_path) const override;
  std::vector<DirectoryEntry> list(std::string_view dos_pattern, bool with_directories = false) const override;
  bool remove(std::string_view dos_path) override;
  bool rename(std::string_view from, std::string_view to) override;
  bool copy(std::string_view from, std::string_view to) override;
  bool make_directory(std::string_view dos_path) override;
  std::unique_ptr<File> open(std::string_view dos_path, OpenMode mode) override;
  int last_error() const override { return last_error_; }

  const DosPathMapper& mapper() const { return mapper_; }

 private:
  DosPathMapper mapper_;
  mutable int last_error_ = 0;
};

// The file system of the run; the entry routine installs the real one.
FileSystem& file_system();
void set_file_system(FileSystem* fs);

}  // namespace intra
