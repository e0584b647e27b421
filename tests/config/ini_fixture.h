#pragma once
// A temporary working directory as the run's file system, with helpers to
// put bytes into a file and read them back, and a machine identity whose
// COMPUTERNAME and host name a test sets.
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "config/computer_name.h"
#include "config/tinifile.h"
#include "storage/file_system.h"
#include "storage/temp_directory.h"

namespace intra::testing {

struct FakeMachineIdentity final : MachineIdentity {
  std::optional<std::string> computer_name_value;
  std::string host = "";
  std::optional<std::string> environment_value(std::string_view name) const override {
    return name == "COMPUTERNAME" ? computer_name_value : std::nullopt;
  }
  std::string host_name() const override { return host; }
};

struct IniFixture {
  TempDirectory tmp;
  PosixFileSystem disk{DosPathMapper(tmp.path(), DriveMap{tmp.path() / "drives", {}})};
  FakeMachineIdentity identity;

  IniFixture() {
    set_file_system(&disk);
    set_machine_identity(&identity);
  }
  ~IniFixture() {
    set_machine_identity(nullptr);
    set_file_system(nullptr);
  }

  std::string bytes(const std::string& name) const {
    std::ifstream in(disk.resolve(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void write_bytes(const std::string& name, const std::string& content) const {
    std::ofstream(disk.resolve(name), std::ios::binary) << content;
  }
  // vat.ini with these bytes, read.
  TINIFILE read(const std::string& content) const {
    write_bytes("vat.ini", content);
    auto ini = TINIFILE_X("vat.ini");
    EXPECT_TRUE(ini);
    return std::move(ini).value();
  }
};

}  // namespace intra::testing
