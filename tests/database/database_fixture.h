#pragma once
// One workstation's run over a temporary database directory: the real file
// layer (watched, see watched_file_system.h), the run's work areas, a
// console over a virtual terminal and a scheduled virtual clock, and an
// error handler that records every run-time error and answers Default.
// Other stations are plain Table opens on the same files: locks belong to
// the open file, so they exclude this run's opens as another workstation's
// would.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "main/recording_error_handler.h"
#include "scheduled_clock.h"
#include "screen/console.h"
#include "screen/virtual_terminal.h"
#include "storage/file_system.h"
#include "storage/table.h"
#include "storage/table_operations.h"
#include "storage/temp_directory.h"
#include "watched_file_system.h"

namespace intra::testing {

struct DatabaseFixture {
  TempDirectory tmp;
  ScheduledClock clock;
  PosixFileSystem disk{DosPathMapper(tmp.path(), DriveMap{tmp.path() / "drives", {}})};
  WatchedFileSystem files{disk};
  VirtualTerminal terminal{clock};
  Console con{terminal, clock};
  RecordingHandler handler;
  std::unique_ptr<WorkAreas> areas = std::make_unique<WorkAreas>(files);

  DatabaseFixture() {
    set_run_clock(&clock);
    set_console(&con);
    set_file_system(&files);
    set_work_areas(areas.get());
    set_run_error_handler(&handler);
  }
  ~DatabaseFixture() {
    areas.reset();
    set_run_error_handler(nullptr);
    set_work_areas(nullptr);
    set_file_system(nullptr);
    set_console(nullptr);
    set_run_clock(nullptr);
  }

  double seconds() const { return static_cast<double>(clock.elapsed().count()) / 1000.0; }
  static std::chrono::milliseconds after(double seconds) {
    return std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
  }

  std::string bytes(const std::string& name) const {
    std::ifstream in(disk.resolve(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void write_bytes(const std::string& name, const std::string& content) const {
    std::ofstream(disk.resolve(name), std::ios::binary) << content;
  }

  void make_table(const std::string& name, const std::vector<FieldSpec>& fields = {{"KOD", 'C', 4, 0}}) {
    TableError error;
    ASSERT_TRUE(Table::create(disk, name, fields, error)) << error.message();
  }
  // Another workstation's open of a table.
  std::unique_ptr<Table> other_station(const std::string& name, bool shared) {
    TableError error;
    auto table = Table::open(disk, name, OpenOptions{shared, false}, error);
    EXPECT_TRUE(table) << error.message();
    return table;
  }
};

}  // namespace intra::testing
