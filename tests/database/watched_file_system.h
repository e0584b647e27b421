#pragma once
// The real file layer with a look-out on opens and erasures, so a test can
// act as another station at the exact moment (grab a file just created,
// keep a copy of a scratch file before it is erased).
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "storage/file_system.h"

namespace intra::testing {

class WatchedFileSystem final : public FileSystem {
 public:
  explicit WatchedFileSystem(FileSystem& real) : real_(real) {}

  std::function<void(std::string_view name, OpenMode mode)> before_open;
  std::function<void(std::string_view name)> before_remove;

  std::filesystem::path resolve(std::string_view p) const override { return real_.resolve(p); }
  bool exists(std::string_view p) const override { return real_.exists(p); }
  bool is_directory(std::string_view p) const override { return real_.is_directory(p); }
  std::optional<FileInfo> info(std::string_view p) const override { return real_.info(p); }
  std::vector<DirectoryEntry> list(std::string_view pattern, bool with_directories) const override {
    return real_.list(pattern, with_directories);
  }
  bool remove(std::string_view p) override {
    if (before_remove) before_remove(p);
    return real_.remove(p);
  }
  bool rename(std::string_view from, std::string_view to) override { return real_.rename(from, to); }
  bool copy(std::string_view from, std::string_view to) override { return real_.copy(from, to); }
  bool make_directory(std::string_view p) override { return real_.make_directory(p); }
  std::unique_ptr<File> open(std::string_view p, OpenMode mode) override {
    if (before_open) before_open(p, mode);
    return real_.open(p, mode);
  }
  int last_error() const override { return real_.last_error(); }

 private:
  FileSystem& real_;
};

}  // namespace intra::testing
