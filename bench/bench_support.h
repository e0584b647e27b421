#pragma once
// Pieces both benchmark programs use: the database directory they work in
// and the space-padded text of a character field.
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>

namespace intra::bench {

// The database directory: the one given, or a private one removed at exit.
class WorkDirectory {
 public:
  WorkDirectory(const std::string& given, const std::string& private_prefix) {
    if (!given.empty()) {
      path_ = given;
      std::filesystem::create_directories(path_);
      return;
    }
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / (private_prefix + std::to_string(rd()));
    std::filesystem::create_directories(path_);
    owned_ = true;
  }
  ~WorkDirectory() {
    std::error_code ec;
    if (owned_) std::filesystem::remove_all(path_, ec);
  }
  WorkDirectory(const WorkDirectory&) = delete;
  WorkDirectory& operator=(const WorkDirectory&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  bool owned_ = false;
};

// `text` left-aligned in a field of `width` bytes, padded with blanks or cut.
inline void put_text(char* out, std::size_t width, std::string_view text) {
  const std::size_t n = text.size() < width ? text.size() : width;
  std::memcpy(out, text.data(), n);
  std::memset(out + n, ' ', width - n);
}

}  // namespace intra::bench
