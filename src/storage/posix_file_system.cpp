#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <system_error>

#include "storage/file_system.h"

namespace intra {
namespace fs = std::filesystem;

namespace {

std::optional<FileInfo> stat_info(const fs::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  FileInfo info;
  info.size = static_cast<std::uint64_t>(st.st_size);
  info.modified = LocalTime::from_epoch(st.st_mtim.tv_sec, static_cast<int>(st.st_mtim.tv_nsec / 1000000));
  info.directory = S_ISDIR(st.st_mode);
  return info;
}

// Open-file-description locks: owned by the open file, so they conflict
// between two opens of one process as between two processes, and closing
// one descriptor does not drop the locks of another.
class PosixFile final : public File {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override { ::close(fd_); }

  long long read_at(std::uint64_t offset, void* buffer, std::size_t size) override {
    std::size_t done = 0;
    while (done < size) {
      const ssize_t n = ::pread(fd_, static_cast<char*>(buffer) + done, size - done,
                                static_cast<off_t>(offset + done));
      if (n < 0) {
        if (errno == EINTR) continue;
        error_ = errno;
        return done > 0 ? static_cast<long long>(done) : -1;
      }
      if (n == 0) break;
      done += static_cast<std::size_t>(n);
    }
    return static_cast<long long>(done);
  }

  long long write_at(std::uint64_t offset, const void* buffer, std::size_t size) override {
    std::size_t done = 0;
    while (done < size) {
      const ssize_t n = ::pwrite(fd_, static_cast<const char*>(buffer) + done, size - done,
                                 static_cast<off_t>(offset + done));
      if (n < 0) {
        if (errno == EINTR) continue;
        error_ = errno;
        return done > 0 ? static_cast<long long>(done) : -1;
      }
      done += static_cast<std::size_t>(n);
    }
    return static_cast<long long>(done);
  }

  std::optional<std::uint64_t> size() override {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
      error_ = errno;
      return std::nullopt;
    }
    return static_cast<std::uint64_t>(st.st_size);
  }

  bool truncate(std::uint64_t size) override { return check(::ftruncate(fd_, static_cast<off_t>(size))); }
  bool sync() override { return check(::fsync(fd_)); }

  bool lock(std::uint64_t offset, std::uint64_t length, bool exclusive) override {
    return set_lock(exclusive ? F_WRLCK : F_RDLCK, offset, length, F_OFD_SETLK);
  }
  bool lock_wait(std::uint64_t offset, std::uint64_t length, bool exclusive) override {
    for (;;) {
      if (set_lock(exclusive ? F_WRLCK : F_RDLCK, offset, length, F_OFD_SETLKW)) return true;
      if (error_ != EINTR) return false;
    }
  }
  bool unlock(std::uint64_t offset, std::uint64_t length) override {
    return set_lock(F_UNLCK, offset, length, F_OFD_SETLK);
  }
  int os_error() const override { return error_; }

 private:
  bool check(int rc) {
    if (rc == 0) return true;
    error_ = errno;
    return false;
  }
  bool set_lock(short type, std::uint64_t offset, std::uint64_t length, int command) {
    struct flock fl {};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(offset);
    fl.l_len = static_cast<off_t>(length);
    return check(::fcntl(fd_, command, &fl));
  }
  int fd_;
  int error_ = 0;
};

}  // namespace

PosixFileSystem::PosixFileSystem(DosPathMapper mapper) : mapper_(std::move(mapper)) {}

fs::path PosixFileSystem::resolve(std::string_view dos_path) const { return mapper_.map(dos_path); }

bool PosixFileSystem::exists(std::string_view dos_path) const {
  std::error_code ec;
  return fs::exists(resolve(dos_path), ec);
}

bool PosixFileSystem::is_directory(std::string_view dos_path) const {
  std::error_code ec;
  return fs::is_directory(resolve(dos_path), ec);
}

std::optional<FileInfo> PosixFileSystem::info(std::string_view dos_path) const {
  auto result = stat_info(resolve(dos_path));
  if (!result) last_error_ = errno;
  return result;
}

std::vector<DirectoryEntry> PosixFileSystem::list(std::string_view dos_pattern, bool with_directories) const {
  const std::size_t cut = dos_pattern.find_last_of("\\/");
  const std::string_view dir_part = cut == std::string_view::npos ? std::string_view() : dos_pattern.substr(0, cut + 1);
  const std::string_view name_pattern = cut == std::string_view::npos ? dos_pattern : dos_pattern.substr(cut + 1);
  const fs::path directory = dir_part.empty() ? mapper_.working_directory() : resolve(dir_part);
  std::vector<DirectoryEntry> entries;
  std::error_code ec;
  for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!wildcard_match(name_pattern.empty() ? "*" : name_pattern, name)) continue;
    auto info = stat_info(it->path());
    if (!info || (info->directory && !with_directories)) continue;
    entries.push_back({name, *info});
  }
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  return entries;
}

bool PosixFileSystem::remove(std::string_view dos_path) {
  if (::unlink(resolve(dos_path).c_str()) == 0) return true;
  last_error_ = errno;
  return false;
}

bool PosixFileSystem::rename(std::string_view from, std::string_view to) {
  const fs::path target = resolve(to);
  // DOS rename never replaces an existing file.
  std::error_code ec;
  if (fs::exists(target, ec)) {
    last_error_ = EEXIST;
    return false;
  }
  if (::rename(resolve(from).c_str(), target.c_str()) == 0) return true;
  last_error_ = errno;
  return false;
}

bool PosixFileSystem::copy(std::string_view from, std::string_view to) {
  std::error_code ec;
  fs::copy_file(resolve(from), resolve(to), fs::copy_options::overwrite_existing, ec);
  if (!ec) return true;
  last_error_ = ec.value();
  return false;
}

bool PosixFileSystem::make_directory(std::string_view dos_path) {
  std::error_code ec;
  fs::create_directories(resolve(dos_path), ec);
  if (!ec) return true;
  last_error_ = ec.value();
  return false;
}

std::unique_ptr<File> PosixFileSystem::open(std::string_view dos_path, OpenMode mode) {
  int flags = O_CLOEXEC;
  switch (mode) {
    case OpenMode::Read: flags |= O_RDONLY; break;
    case OpenMode::ReadWrite: flags |= O_RDWR; break;
    case OpenMode::Create: flags |= O_RDWR | O_CREAT; break;
    case OpenMode::CreateTruncate: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
  }
  const int fd = ::open(resolve(dos_path).c_str(), flags, 0666);
  if (fd < 0) {
    last_error_ = errno;
    return nullptr;
  }
  return std::make_unique<PosixFile>(fd);
}

namespace {
FileSystem* g_file_system = nullptr;
}

FileSystem& file_system() {
  if (!g_file_system) throw std::logic_error("no file system installed");
  return *g_file_system;
}

void set_file_system(FileSystem* f) { g_file_system = f; }

}  // namespace intra
