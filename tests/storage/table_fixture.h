#pragma once
// A database directory in a temporary folder with the real file-system
// layer over it and a virtual clock as the run's clock.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "main/clock.h"
#include "storage/file_system.h"
#include "storage/table.h"
#include "temp_directory.h"

namespace intra::testing {

struct TableFixture {
  TempDirectory tmp;
  VirtualClock clock;
  PosixFileSystem files{DosPathMapper(tmp.path(), DriveMap{tmp.path() / "drives", {}})};

  TableFixture() { set_run_clock(&clock); }
  ~TableFixture() { set_run_clock(nullptr); }

  std::string bytes(const std::string& name) const {
    std::ifstream in(files.resolve(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void write_bytes(const std::string& name, const std::string& content) const {
    std::ofstream(files.resolve(name), std::ios::binary) << content;
  }
  std::unique_ptr<Table> open(const std::string& name, bool shared = true, bool read_only = false) {
    TableError error;
    auto t = Table::open(files, name, OpenOptions{shared, read_only}, error);
    last_error = error;
    return t;
  }
  bool create(const std::string& name, const std::vector<FieldSpec>& fields) {
    return Table::create(files, name, fields, last_error);
  }
  TableError last_error;
};

}  // namespace intra::testing
