#pragma once
// A FileSystem over the real one that can make file operations fail, so
// the fuzzer walks the engine's error paths too, and that never forces
// files to disk: sync() succeeds at once, which keeps an input's time to
// microseconds instead of the milliseconds of a real flush.
//
// The operations counted are those of the open files (read, write, size,
// truncate, sync, lock, unlock) and FileSystem::open. Name look-ups and
// directory operations pass through uncounted.
#include <cstdint>
#include <memory>

#include "storage/file_system.h"

namespace intra::fuzz {

// Which counted operation fails. Disarmed, nothing fails.
class FaultBudget {
 public:
  // 0 disarms; 1-31: the n-th operation fails once; 32-63: every
  // operation from the (n-31)-th on fails.
  void arm(int setting);
  void disarm() { arm(0); }
  // Called by every counted operation: whether it must fail.
  bool strike();
  // Whether a fault was injected since the last arm().
  bool fired() const { return fired_; }
  // A failure injected elsewhere (an observer refusing) counts as a fault.
  void note_injected() { fired_ = true; }
  // Odd strikes give a short transfer, even ones an error, for reads and writes.
  bool short_transfer() const { return strikes_ % 2 == 1; }

 private:
  std::uint64_t countdown_ = 0;  // operations until the first failure; 0 = disarmed
  bool persistent_ = false;
  bool failing_ = false;
  bool fired_ = false;
  std::uint64_t strikes_ = 0;
};

class FaultFileSystem final : public FileSystem {
 public:
  FaultFileSystem(FileSystem& real, FaultBudget& budget) : real_(real), budget_(budget) {}

  std::filesystem::path resolve(std::string_view dos_path) const override { return real_.resolve(dos_path); }
  bool exists(std::string_view dos_path) const override { return real_.exists(dos_path); }
  bool is_directory(std::string_view dos_path) const override { return real_.is_directory(dos_path); }
  std::optional<FileInfo> info(std::string_view dos_path) const override { return real_.info(dos_path); }
  std::vector<DirectoryEntry> list(std::string_view pattern, bool with_directories) const override {
    return real_.list(pattern, with_directories);
  }
  bool remove(std::string_view dos_path) override { return real_.remove(dos_path); }
  bool rename(std::string_view from, std::string_view to) override { return real_.rename(from, to); }
  bool copy(std::string_view from, std::string_view to) override { return real_.copy(from, to); }
  bool make_directory(std::string_view dos_path) override { return real_.make_directory(dos_path); }
  std::unique_ptr<File> open(std::string_view dos_path, OpenMode mode) override;
  int last_error() const override { return injected_ ? injected_ : real_.last_error(); }

 private:
  FileSystem& real_;
  FaultBudget& budget_;
  int injected_ = 0;
};

}  // namespace intra::fuzz
