#pragma once
// The private database directory of one fuzzing process: created on first
// use under $INTRASTAT_FUZZ_DIR, else /dev/shm when it is writable, else
// $TMPDIR or /tmp; removed when the process ends normally. Every
// pass writes the input's files afresh, so no pass sees another's changes.
// The run clock is a virtual one, so header dates do not depend on the day.
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "fault_file_system.h"
#include "main/clock.h"
#include "storage/file_system.h"

namespace intra::fuzz {

class Workspace {
 public:
  static Workspace& instance();
  Workspace();
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  // The engine's file system: the real one behind the fault injector.
  FileSystem& files() { return faulty_; }
  FaultBudget& faults() { return budget_; }
  const std::filesystem::path& directory() const { return directory_; }

  // Writes <name>.dbf and <name>.dbt (removed when `memo` is empty) and
  // removes what earlier passes created beside them.
  void write(std::string_view name, std::string_view table, std::string_view memo);
  // Size of a file of the directory, 0 when it is missing.
  std::uint64_t size_of(std::string_view file) const;
  // The record count in a table file's header (bytes 4-7), 0 when shorter.
  std::uint32_t header_count(std::string_view file) const;

 private:
  std::filesystem::path directory_;
  VirtualClock clock_;
  PosixFileSystem real_;
  FaultBudget budget_;
  FaultFileSystem faulty_;
};

}  // namespace intra::fuzz
