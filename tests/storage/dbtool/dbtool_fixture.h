#pragma once
// A scratch database directory that is the current directory for the
// length of a test, with a virtual clock as the run's clock.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "main/clock.h"
#include "storage/file_system.h"
#include "storage/table.h"
#include "storage/temp_directory.h"

namespace intra::testing {

class CurrentDirectory {
 public:
  explicit CurrentDirectory(const std::filesystem::path& path) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(path);
  }
  ~CurrentDirectory() { std::filesystem::current_path(previous_); }
  CurrentDirectory(const CurrentDirectory&) = delete;
  CurrentDirectory& operator=(const CurrentDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

struct DbtoolFixture {
  TempDirectory tmp;
  CurrentDirectory here{tmp.path()};
  VirtualClock clock;  // 11.12.2026
  PosixFileSystem files{DosPathMapper(tmp.path(), DriveMap{tmp.path() / "drives", {}})};

  DbtoolFixture() { set_run_clock(&clock); }
  ~DbtoolFixture() { set_run_clock(nullptr); }

  std::string bytes(const std::string& name) const {
    std::ifstream in(tmp.path() / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void write_file(const std::string& name, const std::string& content) const {
    std::ofstream(tmp.path() / name, std::ios::binary) << content;
  }
  // Marks records deleted through the engine (dbtool has no command for it).
  void delete_records(const std::string& table, std::initializer_list<std::uint32_t> numbers) {
    TableError error;
    auto t = Table::open(files, table, OpenOptions{false, false}, error);
    if (!t) throw std::runtime_error(error.message());
    for (std::uint32_t n : numbers)
      if (!t->go_to(n) || !t->delete_record()) throw std::runtime_error(t->error().message());
    if (!t->close()) throw std::runtime_error(t->error().message());
  }
};

}  // namespace intra::testing
