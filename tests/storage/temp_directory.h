#pragma once
// A fresh directory under the system's temporary directory, removed with the object.
#include <filesystem>
#include <random>
#include <string>

namespace intra::testing {

class TempDirectory {
 public:
  TempDirectory() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / ("intrastat-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~TempDirectory() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace intra::testing
