#pragma once
// Helpers of the index tests: a database directory with the real file
// layer, key sources over lists of pairs, and a file system wrapper that
// records lock calls and fails chosen operations.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "storage/file_system.h"
#include "storage/ntx_index.h"
#include "temp_directory.h"

namespace intra::testing {

inline std::string padded(std::string text, int size) {
  text.resize(static_cast<std::size_t>(size), ' ');
  return text;
}

inline NtxDefinition key_definition(int key_size, bool unique = false, bool descending = false) {
  NtxDefinition d;
  d.key_expression = "NAME";
  d.key_size = key_size;
  d.unique = unique;
  d.descending = descending;
  return d;
}

// Hands out `entries` in order (the caller keeps the vector alive).
inline KeySource source_of(const std::vector<KeyEntry>& entries) {
  auto next = std::make_shared<std::size_t>(0);
  return [&entries, next](KeyEntry& out) {
    if (*next == entries.size()) return false;
    out = entries[(*next)++];
    return true;
  };
}

// The keys of an index in order, with their record numbers.
inline std::vector<std::pair<std::string, std::uint32_t>> entries_of(NtxIndex& index) {
  std::vector<std::pair<std::string, std::uint32_t>> out;
  EXPECT_TRUE(index.for_each([&](const KeyEntry& e) {
    out.emplace_back(e.key, e.recno);
    return true;
  })) << index.error().message();
  return out;
}

// A File that passes everything to the real one, logs lock calls and fails
// what its switches say.
struct FaultSwitches {
  long writes_before_failure = -1;  // -1: never fail
  bool fail_locks = false;
  bool fail_reads = false;
  std::vector<std::string> lock_log;  // "S 1000000000+1", "X 4294901759+65537", "U ..."
};

class FaultyFile final : public File {
 public:
  FaultyFile(std::unique_ptr<File> real, FaultSwitches& switches) : real_(std::move(real)), s_(switches) {}
  long long read_at(std::uint64_t offset, void* buffer, std::size_t size) override {
    if (s_.fail_reads) {
      error_ = 5;
      return -1;
    }
    return real_->read_at(offset, buffer, size);
  }
  long long write_at(std::uint64_t offset, const void* buffer, std::size_t size) override {
    if (s_.writes_before_failure == 0) {
      error_ = 28;  // ENOSPC
      return -1;
    }
    if (s_.writes_before_failure > 0) --s_.writes_before_failure;
    return real_->write_at(offset, buffer, size);
  }
  std::optional<std::uint64_t> size() override { return real_->size(); }
  bool truncate(std::uint64_t size) override { return real_->truncate(size); }
  bool sync() override { return real_->sync(); }
  bool lock(std::uint64_t offset, std::uint64_t length, bool exclusive) override {
    return real_->lock(offset, length, exclusive);
  }
  bool lock_wait(std::uint64_t offset, std::uint64_t length, bool exclusive) override {
    s_.lock_log.push_back(std::string(exclusive ? "X " : "S ") + std::to_string(offset) + "+" + std::to_string(length));
    if (s_.fail_locks) {
      error_ = 22;
      return false;
    }
    return real_->lock_wait(offset, length, exclusive);
  }
  bool unlock(std::uint64_t offset, std::uint64_t length) override {
    s_.lock_log.push_back("U " + std::to_string(offset) + "+" + std::to_string(length));
    return real_->unlock(offset, length);
  }
  int os_error() const override { return error_ != 0 ? error_ : real_->os_error(); }

 private:
  std::unique_ptr<File> real_;
  FaultSwitches& s_;
  int error_ = 0;
};

class FaultyFileSystem final : public FileSystem {
 public:
  explicit FaultyFileSystem(FileSystem& real) : real_(real) {}
  FaultSwitches switches;
  std::function<bool(std::string_view)> refuse_open;  // names whose open fails

  std::filesystem::path resolve(std::string_view p) const override { return real_.resolve(p); }
  bool exists(std::string_view p) const override { return real_.exists(p); }
  bool is_directory(std::string_view p) const override { return real_.is_directory(p); }
  std::optional<FileInfo> info(std::string_view p) const override { return real_.info(p); }
  std::vector<DirectoryEntry> list(std::string_view pattern, bool dirs) const override { return real_.list(pattern, dirs); }
  bool remove(std::string_view p) override { return real_.remove(p); }
  bool rename(std::string_view a, std::string_view b) override { return real_.rename(a, b); }
  bool copy(std::string_view a, std::string_view b) override { return real_.copy(a, b); }
  bool make_directory(std::string_view p) override { return real_.make_directory(p); }
  std::unique_ptr<File> open(std::string_view p, OpenMode mode) override {
    if (refuse_open && refuse_open(p)) {
      error_ = 13;
      return nullptr;
    }
    auto file = real_.open(p, mode);
    if (!file) return nullptr;
    return std::make_unique<FaultyFile>(std::move(file), switches);
  }
  int last_error() const override { return error_ != 0 ? error_ : real_.last_error(); }

 private:
  FileSystem& real_;
  int error_ = 0;
};

class NtxTest : public ::testing::Test {
 protected:
  TempDirectory tmp;
  PosixFileSystem files{DosPathMapper(tmp.path(), DriveMap{tmp.path() / "drives", {}})};
  TableError error;

  std::string bytes(const std::string& name) const {
    std::ifstream in(files.resolve(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void write_bytes(const std::string& name, const std::string& content) const {
    std::ofstream(files.resolve(name), std::ios::binary | std::ios::trunc) << content;
  }
  // Overwrites bytes of a file in place.
  void patch(const std::string& name, std::size_t offset, const std::string& content) const {
    std::string b = bytes(name);
    if (b.size() < offset + content.size()) b.resize(offset + content.size(), '\0');
    b.replace(offset, content.size(), content);
    write_bytes(name, b);
  }
  std::unique_ptr<NtxIndex> build(const std::string& name, const NtxDefinition& d, const std::vector<KeyEntry>& entries,
                                  bool shared = false, const NtxBuildOptions& options = {}) {
    auto index = NtxIndex::create(files, name, d, source_of(entries), shared, error, options);
    EXPECT_TRUE(index) << error.message();
    return index;
  }
  std::unique_ptr<NtxIndex> open(const std::string& name, bool shared = false, bool read_only = false) {
    return NtxIndex::open(files, name, shared, read_only, error);
  }
};

inline std::uint32_t u32_at(const std::string& b, std::size_t at) {
  return std::uint32_t(static_cast<unsigned char>(b[at])) | std::uint32_t(static_cast<unsigned char>(b[at + 1])) << 8 |
         std::uint32_t(static_cast<unsigned char>(b[at + 2])) << 16 |
         std::uint32_t(static_cast<unsigned char>(b[at + 3])) << 24;
}
inline unsigned u16_at(const std::string& b, std::size_t at) {
  return unsigned(static_cast<unsigned char>(b[at])) | unsigned(static_cast<unsigned char>(b[at + 1])) << 8;
}
inline std::string le16(unsigned v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
inline std::string le32(std::uint32_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF), static_cast<char>((v >> 16) & 0xFF),
          static_cast<char>(v >> 24)};
}

}  // namespace intra::testing
