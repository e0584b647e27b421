#include "storage/memo_file.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

#include "storage/lock_layout.h"

namespace intra {
namespace {

// The memo lock region: one byte at kMemoLockOffset of the .dbt, the same
// byte for readers (shared) and writers (exclusive).
constexpr std::uint64_t kLockLength = 1;
constexpr std::size_t kPointerSize = 4;
constexpr std::uint32_t kFirstTextBlock = 1;

std::uint64_t offset_of(std::uint32_t block) { return std::uint64_t{block} * MemoFile::kBlockSize; }

// Blocks the file reaches into, counting a partial last block.
std::uint64_t blocks_spanned(std::uint64_t size) { return (size + MemoFile::kBlockSize - 1) / MemoFile::kBlockSize; }

// Blocks a stored text occupies: its terminator needs at least one byte,
// so a text filling its last block exactly takes one block more.
std::uint64_t blocks_for(std::size_t text_length) { return text_length / MemoFile::kBlockSize + 1; }

void encode_pointer(std::uint32_t value, unsigned char* out) {
  for (std::size_t i = 0; i < kPointerSize; ++i) out[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint32_t decode_pointer(const unsigned char* in) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < kPointerSize; ++i) value |= std::uint32_t{in[i]} << (8 * i);
  return value;
}

std::array<unsigned char, MemoFile::kBlockSize> new_header_block() {
  std::array<unsigned char, MemoFile::kBlockSize> block{};
  encode_pointer(kFirstTextBlock, block.data());
  return block;
}

// What can be stored of a text: everything before its first terminator.
std::string_view storable_part(std::string_view text) {
  return text.substr(0, std::min(text.find(MemoFile::kTerminator), text.size()));
}

bool fully_written(long long written, std::size_t expected) {
  return written >= 0 && static_cast<std::size_t>(written) == expected;
}

// The memo lock held for one operation. With exclusive use it holds nothing
// and never touches the file. An error path leaves through the destructor,
// which drops the lock without reporting: the error that ended the
// operation is the one the caller hears about. The normal path calls
// release(), whose failure is reported because a lock left behind would
// block every other station.
class MemoLockScope {
 public:
  MemoLockScope(File& file, bool shared) : file_(file), shared_(shared) {}
  MemoLockScope(const MemoLockScope&) = delete;
  MemoLockScope& operator=(const MemoLockScope&) = delete;
  ~MemoLockScope() {
    if (held_) file_.unlock(kMemoLockOffset, kLockLength);
  }

  bool acquire(bool exclusive) {
    if (!shared_) return true;
    held_ = file_.lock_wait(kMemoLockOffset, kLockLength, exclusive);
    return held_;
  }

  bool release() {
    if (!held_) return true;
    held_ = false;
    return file_.unlock(kMemoLockOffset, kLockLength);
  }

 private:
  File& file_;
  bool shared_;
  bool held_ = false;
};

}  // namespace

bool MemoFile::create(FileSystem& fs, std::string_view dos_name, TableError& error) {
  std::unique_ptr<File> file = fs.open(dos_name, OpenMode::CreateTruncate);
  if (!file) {
    error = TableError::make(TableErrorKind::CreateError, std::string(dos_name), "cannot create the memo file",
                             dos_error_code(fs.last_error()));
    return false;
  }
  const auto header = new_header_block();
  if (!fully_written(file->write_at(0, header.data(), header.size()), header.size())) {
    error = TableError::make(TableErrorKind::CreateError, std::string(dos_name), "cannot write the memo header",
                             dos_error_code(file->os_error()));
    return false;
  }
  return true;
}

MemoFile::MemoFile(std::unique_ptr<File> file, std::string dos_name, bool shared, bool read_only)
    : file_(std::move(file)), dos_name_(std::move(dos_name)), shared_(shared), read_only_(read_only) {}

bool MemoFile::read(std::uint32_t block, std::string& text, TableError& error) {
  text.clear();
  if (block == 0) return true;
  MemoLockScope lock(*file_, shared_);
  if (!lock.acquire(false)) {
    error = os_failure(TableErrorKind::LockFailure, "memo read lock");
    return false;
  }
  // Every pass moves forward by a whole piece or stops, so the loop ends at
  // the end of the file however damaged the contents are.
  std::array<char, kBlockSize> piece;
  for (std::uint64_t offset = offset_of(block);; offset += kBlockSize) {
    const long long got = file_->read_at(offset, piece.data(), piece.size());
    if (got < 0) {
      text.clear();
      error = os_failure(TableErrorKind::ReadError, "memo block " + std::to_string(block));
      return false;
    }
    const std::string_view data(piece.data(), static_cast<std::size_t>(got));
    const std::size_t end = data.find(kTerminator);
    text.append(data.substr(0, end));
    if (end != std::string_view::npos || data.size() < kBlockSize) break;
  }
  if (!lock.release()) {
    error = os_failure(TableErrorKind::LockFailure, "memo read unlock");
    return false;
  }
  return true;
}

bool MemoFile::write(std::uint32_t current_block, std::string_view text, std::uint32_t& new_block,
                     TableError& error) {
  new_block = current_block;
  if (!refuse_if_read_only(error)) return false;
  const std::string_view stored = storable_part(text);
  // The empty text is no block at all: the field is cleared and the file
  // stays untouched, so no lock is needed either.
  if (stored.empty()) {
    new_block = 0;
    return true;
  }
  MemoLockScope lock(*file_, shared_);
  if (!lock.acquire(true)) {
    error = os_failure(TableErrorKind::LockFailure, "memo write lock");
    return false;
  }
  std::uint64_t size = 0;
  if (!file_size(size, error)) return false;
  std::uint32_t target = current_block;
  const bool in_place = current_block > 0 && stored.size() <= kLongestInPlaceText && offset_of(current_block) < size;
  if (!in_place && !allocate(size, stored.size(), target, error)) return false;
  if (!write_text_at(target, stored, error)) return false;
  // The pointer moves only after the text is complete: a station dying in
  // between leaves an orphaned text past the pointer, which the next
  // allocation steps over (see allocate()).
  if (!in_place && !write_pointer(static_cast<std::uint32_t>(target + blocks_for(stored.size())), error)) return false;
  new_block = target;
  if (!lock.release()) {
    error = os_failure(TableErrorKind::LockFailure, "memo write unlock");
    return false;
  }
  return true;
}

bool MemoFile::reset(TableError& error) {
  if (!refuse_if_read_only(error)) return false;
  MemoLockScope lock(*file_, shared_);
  if (!lock.acquire(true)) {
    error = os_failure(TableErrorKind::LockFailure, "memo write lock");
    return false;
  }
  written_since_sync_ = true;
  // Header first, then the cut: if the cut fails, the old texts past the
  // header are still stepped over by the next allocation.
  const auto header = new_header_block();
  if (!fully_written(file_->write_at(0, header.data(), header.size()), header.size())) {
    error = os_failure(TableErrorKind::WriteError, "memo header");
    return false;
  }
  if (!file_->truncate(kBlockSize)) {
    error = os_failure(TableErrorKind::WriteError, "cutting the memo file");
    return false;
  }
  if (!lock.release()) {
    error = os_failure(TableErrorKind::LockFailure, "memo write unlock");
    return false;
  }
  return true;
}

bool MemoFile::sync(TableError& error) {
  if (!written_since_sync_) return true;
  if (!file_->sync()) {
    error = os_failure(TableErrorKind::WriteError, "flushing the memo file");
    return false;
  }
  written_since_sync_ = false;
  return true;
}

std::uint32_t MemoFile::next_free_block(TableError& error) {
  MemoLockScope lock(*file_, shared_);
  if (!lock.acquire(false)) {
    error = os_failure(TableErrorKind::LockFailure, "memo read lock");
    return 0;
  }
  std::uint32_t pointer = 0;
  bool complete = false;
  if (!read_pointer(pointer, complete, error)) return 0;
  if (!complete) {
    error = TableError::make(TableErrorKind::Corruption, dos_name_, "memo header shorter than 4 bytes");
    return 0;
  }
  if (!lock.release()) {
    error = os_failure(TableErrorKind::LockFailure, "memo read unlock");
    return 0;
  }
  return pointer;
}

bool MemoFile::file_size(std::uint64_t& size, TableError& error) {
  const std::optional<std::uint64_t> known = file_->size();
  if (!known) {
    error = os_failure(TableErrorKind::ReadError, "memo file size");
    return false;
  }
  size = *known;
  return true;
}

bool MemoFile::read_pointer(std::uint32_t& pointer, bool& complete, TableError& error) {
  std::array<unsigned char, kPointerSize> bytes{};
  const long long got = file_->read_at(0, bytes.data(), bytes.size());
  if (got < 0) {
    error = os_failure(TableErrorKind::ReadError, "memo header");
    return false;
  }
  complete = static_cast<std::size_t>(got) == bytes.size();
  pointer = complete ? decode_pointer(bytes.data()) : 0;
  return true;
}

// In a sound file the pointer is the first block past the end, since every
// text is padded to the end of its last block. A pointer below that (0, a
// header cut short, an orphaned text) would overwrite stored bytes, so it
// is raised to the end of the file. A pointer a little past the end is
// followed as stored (the blocks in between hold nothing); one far past it
// is damage and would make a file of hundreds of gigabytes, so the end of
// the file is taken instead.
bool MemoFile::allocate(std::uint64_t size, std::size_t text_length, std::uint32_t& first_block,
                        TableError& error) {
  std::uint32_t pointer = 0;
  bool complete = false;
  if (!read_pointer(pointer, complete, error)) return false;
  const std::uint64_t first_unused = std::max<std::uint64_t>(kFirstTextBlock, blocks_spanned(size));
  constexpr std::uint64_t kFarPastTheEnd = 2048;  // blocks: 1 MiB
  const std::uint64_t first = pointer > first_unused + kFarPastTheEnd ? first_unused
                                                                       : std::max<std::uint64_t>(pointer, first_unused);
  if (first + blocks_for(text_length) > std::numeric_limits<std::uint32_t>::max()) {
    error = TableError::make(TableErrorKind::Corruption, dos_name_,
                             "no room in block numbers for a memo of " + std::to_string(text_length) +
                                 " bytes at block " + std::to_string(first));
    return false;
  }
  first_block = static_cast<std::uint32_t>(first);
  return true;
}

// One write of the text and its padding, so the block never holds the new
// text without its terminator.
bool MemoFile::write_text_at(std::uint32_t block, std::string_view text, TableError& error) {
  std::string stored;
  const std::size_t padding = kBlockSize - text.size() % kBlockSize;
  stored.reserve(text.size() + padding);
  stored.append(text);
  stored.append(padding, kTerminator);
  written_since_sync_ = true;
  if (!fully_written(file_->write_at(offset_of(block), stored.data(), stored.size()), stored.size())) {
    error = os_failure(TableErrorKind::WriteError, "memo block " + std::to_string(block));
    return false;
  }
  return true;
}

bool MemoFile::write_pointer(std::uint32_t pointer, TableError& error) {
  std::array<unsigned char, kPointerSize> bytes{};
  encode_pointer(pointer, bytes.data());
  written_since_sync_ = true;
  if (!fully_written(file_->write_at(0, bytes.data(), bytes.size()), bytes.size())) {
    error = os_failure(TableErrorKind::WriteError, "memo next free block");
    return false;
  }
  return true;
}

bool MemoFile::refuse_if_read_only(TableError& error) const {
  if (!read_only_) return true;
  error = TableError::make(TableErrorKind::WriteNotAllowed, dos_name_, "memo file opened read-only");
  return false;
}

TableError MemoFile::os_failure(TableErrorKind kind, std::string detail) const {
  return TableError::make(kind, dos_name_, std::move(detail), dos_error_code(file_->os_error()));
}

}  // namespace intra
