#include "fuzz_workspace.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace intra::fuzz {
namespace {

// A memory file system when there is one: every input truncates and
// rewrites its files, which a disk file system may turn into flushes to
// the disk (ten times slower here).
std::string parent_directory() {
  if (const char* given = std::getenv("INTRASTAT_FUZZ_DIR"); given && *given) return given;
  if (::access("/dev/shm", W_OK | X_OK) == 0) return "/dev/shm";
  const char* tmp = std::getenv("TMPDIR");
  return tmp && *tmp ? tmp : "/tmp";
}

std::filesystem::path make_private_directory() {
  std::string pattern = parent_directory() + "/intrastat-fuzz-XXXXXX";
  if (!::mkdtemp(pattern.data())) {
    std::perror("table_fuzz: mkdtemp");
    std::abort();
  }
  return pattern;
}

void write_file(const std::filesystem::path& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) {
    std::perror(path.c_str());
    std::abort();
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) {
      std::perror(path.c_str());
      std::abort();
    }
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
}

}  // namespace

Workspace& Workspace::instance() {
  static Workspace workspace;
  return workspace;
}

Workspace::Workspace()
    : directory_(make_private_directory()),
      real_(DosPathMapper(directory_, DriveMap{directory_ / "drives", {}})),
      faulty_(real_, budget_) {
  set_run_clock(&clock_);
}

Workspace::~Workspace() {
  set_run_clock(nullptr);
  std::error_code ec;
  std::filesystem::remove_all(directory_, ec);
}

void Workspace::write(std::string_view name, std::string_view table, std::string_view memo) {
  std::error_code ec;
  for (const char* extra : {"c.dbf", "c.dbt"}) std::filesystem::remove(directory_ / extra, ec);
  const std::string base(name);
  write_file(directory_ / (base + ".dbf"), table);
  if (memo.empty())
    std::filesystem::remove(directory_ / (base + ".dbt"), ec);
  else
    write_file(directory_ / (base + ".dbt"), memo);
}

std::uint64_t Workspace::size_of(std::string_view file) const {
  std::error_code ec;
  const auto size = std::filesystem::file_size(directory_ / std::string(file), ec);
  return ec ? 0 : static_cast<std::uint64_t>(size);
}

std::uint32_t Workspace::header_count(std::string_view file) const {
  const int fd = ::open((directory_ / std::string(file)).c_str(), O_RDONLY);
  if (fd < 0) return 0;
  unsigned char b[4] = {};
  const bool whole = ::pread(fd, b, 4, 4) == 4;
  ::close(fd);
  if (!whole) return 0;
  return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
         static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

}  // namespace intra::fuzz
