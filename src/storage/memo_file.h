#pragma once
// The memo file (.dbt) beside a table with memo fields. The table keeps a
// block number per memo field; this class turns block numbers into texts
// and back, on a file that other workstations read and write at the same
// time.
//
// Layout (integers little-endian):
//   block n      bytes n*512 .. n*512+511
//   block 0      bytes 0-3: next free block (u32); bytes 4-511: zero
//   a text       from the first byte of its block: the text, then 0x1A up to
//                the end of the block holding its last byte; a text whose
//                length is a multiple of 512 is followed by a whole block of
//                0x1A. It occupies length/512 + 1 blocks.
//   free space   none is ever reused: a replaced text stays where it was,
//                only a short text (at most 510 bytes) overwrites its own
//                block.
//
// Locking, taken only with shared use and always waiting until granted:
// reads hold a shared lock on byte 0, writes an exclusive one, for the
// length of one call and never longer. That is the region every station
// uses, so a writer excludes readers and writers of the same file while the
// text and the next-free pointer change.
//
// Damaged files never crash and never loop: a read stops at the first 0x1A
// or at the end of the file, whichever comes first, and a block beyond the
// end reads as the empty text. A write never lands on bytes the file
// already holds (see write()).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "storage/file_system.h"
#include "storage/table_error.h"

namespace intra {

class MemoFile {
 public:
  static constexpr std::size_t kBlockSize = 512;
  static constexpr char kTerminator = 0x1A;
  // Longest text rewritten in its own block: one byte short of a block,
  // because a text of 511 bytes is written to new blocks like a long one.
  static constexpr std::size_t kLongestInPlaceText = 510;

  // A new memo file: block 0 only, next free block 1, exactly 512 bytes.
  // An existing file of that name is emptied. Failures are CreateError.
  static bool create(FileSystem& fs, std::string_view dos_name, TableError& error);

  // `file` is open on the memo file (not null), in the table's mode.
  // `shared` says whether other stations may use the file at the same time
  // and so whether locks are taken; `read_only` refuses every change.
  MemoFile(std::unique_ptr<File> file, std::string dos_name, bool shared, bool read_only);

  // The text of `block`; block 0 is the empty text.
  bool read(std::uint32_t block, std::string& text, TableError& error);

  // Stores `text` for a field that holds `current_block` and gives the
  // number the field must hold afterwards in `new_block` (on failure it is
  // `current_block`, so the field stays as it was):
  //   - the empty text is block 0 and touches nothing;
  //   - up to 510 bytes over an existing block: that block is rewritten;
  //   - otherwise the text goes to the next free block and the pointer
  //     moves past it.
  // A text cannot hold 0x1A, which ends it in the file; it is stored up to
  // its first 0x1A, so the file always reads back what was stored.
  //
  // In a damaged file the next free block is raised to the first block past
  // the end of the file when it points at the header or into existing
  // texts (a pointer of 0, a header cut short, a station that died between
  // writing its text and the pointer), so no stored byte is ever
  // overwritten; a pointer leaving no room for the text in 32-bit block
  // numbers is Corruption. A current block beyond the end of the file is
  // not rewritten in place but replaced by a new one, so a damaged field
  // cannot make the file grow to its number.
  bool write(std::uint32_t current_block, std::string_view text, std::uint32_t& new_block, TableError& error);

  // Zap: the open file becomes a new memo file again (next free 1, 512 bytes).
  bool reset(TableError& error);

  // Forces the file to disk if it was written since the last sync.
  bool sync(TableError& error);

  // The next-free pointer as stored (0 on an error); for tests and tools.
  std::uint32_t next_free_block(TableError& error);

  const std::string& dos_name() const { return dos_name_; }

 private:
  bool file_size(std::uint64_t& size, TableError& error);
  // The stored next-free pointer; `complete` is false (and the pointer 0)
  // when the file is too short to hold it.
  bool read_pointer(std::uint32_t& pointer, bool& complete, TableError& error);
  bool allocate(std::uint64_t file_size, std::size_t text_length, std::uint32_t& first_block, TableError& error);
  bool write_text_at(std::uint32_t block, std::string_view text, TableError& error);
  bool write_pointer(std::uint32_t pointer, TableError& error);
  bool refuse_if_read_only(TableError& error) const;
  TableError os_failure(TableErrorKind kind, std::string detail) const;

  std::unique_ptr<File> file_;
  std::string dos_name_;
  bool shared_;
  bool read_only_;
  bool written_since_sync_ = false;
};

}  // namespace intra
