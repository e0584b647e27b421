#pragma once
// One open table file (.dbf) with its memo file: the record buffer, the
// record count, the header writes, appends, deletion flags, record and
// file locks, pack, zap, commit and close, byte-exact for the other
// programs that use the same files at the same time.
//
// Invariants:
// - Only the current record is buffered. Positioning marks the buffer
//   invalid, so every visit reads the record from the file again.
// - With shared use a record is changed only while this open holds its
//   record lock or the file lock; the changed buffer is written when the
//   record goes cold (left, unlocked, committed, closed).
// - With shared use the record count follows the file size, so records
//   appended by other stations appear without reopening.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "main/value.h"
#include "storage/dbf_header.h"
#include "storage/file_system.h"
#include "storage/lock_layout.h"
#include "storage/table_error.h"

namespace intra {

class MemoFile;
class Table;

// Told about the changes of a table's records, so that its indexes follow.
class RecordObserver {
 public:
  virtual ~RecordObserver() = default;
  // The current record is about to change for the first time since it was
  // read: the buffer still holds the record as it is in the file.
  virtual void before_first_change(Table& table) = 0;
  // The changed buffer of record `recno` has been written (the record went
  // cold); `appended` when the record was added since it last went cold.
  virtual bool record_written(Table& table, std::uint32_t recno, bool appended) = 0;
  // The table was packed or zapped: every record number may have changed.
  virtual bool table_rewritten(Table& table) = 0;
};

struct OpenOptions {
  bool shared = true;
  bool read_only = false;
};

// A field to create: name, type C N D L M, width, decimals.
struct FieldSpec {
  std::string name;
  char type = 'C';
  int width = 0;
  int decimals = 0;
};

class Table {
 public:
  // "as" -> "as.dbf": a name whose last component has no extension gets one.
  static std::string table_file_name(std::string_view name);
  static std::string memo_file_name(std::string_view table_file);

  // Opens a table; on failure returns nullptr with `error` set. A failure
  // caused by another open's share mode is an open error with the sharing
  // conflict code (32).
  static std::unique_ptr<Table> open(FileSystem& fs, std::string_view name, OpenOptions options, TableError& error);
  // Creates a table (and its memo file when a field is M), replacing an
  // existing one that nobody has open. The table is left closed.
  static bool create(FileSystem& fs, std::string_view name, const std::vector<FieldSpec>& fields, TableError& error);

  ~Table();
  Table(const Table&) = delete;
  Table& operator=(const Table&) = delete;

  // Writes the changed record, releases all locks, writes a pending header,
  // forces the files to disk and closes them. Safe to call twice.
  bool close();

  // --- structure
  const std::string& file_name() const { return file_name_; }
  FileSystem& files() const { return fs_; }
  const std::vector<FieldDescriptor>& fields() const { return fields_; }
  int field_count() const { return static_cast<int>(fields_.size()); }
  // 0-based index of a field by name (any case), -1 when there is none.
  int field_index(std::string_view name) const;
  const TableHeader& header() const { return header_; }
  int header_length() const { return header_length_; }
  int record_length() const { return record_length_; }
  bool has_memo() const { return memo_ != nullptr; }
  bool shared() const { return shared_; }
  bool read_only() const { return read_only_; }

  // --- position
  // The record count; with shared use recomputed from the file size.
  std::uint32_t record_count();
  std::uint32_t recno() const { return recno_; }
  // Positions on record n; beyond the last record (or 0) the phantom
  // record: number count + 1, flag blank, every field blank.
  bool go_to(std::uint32_t n);
  bool at_phantom() const { return phantom_; }
  // Whether the current record is deleted (flag '*' or 'D').
  bool deleted();

  // --- fields
  bool get(int field, Value& out);
  Value get(int field);
  // The field's stored bytes (memo fields: the block number text).
  bool raw(int field, std::string_view& out);
  // The whole record buffer, deletion flag first.
  bool record_bytes(std::string_view& out);
  // Records first .. first + count - 1 as they are in the file, in one read
  // (bulk index builds). Reads whole records only; `out` may come back
  // shorter when the file ends.
  bool read_records(std::uint32_t first, std::uint32_t count, std::string& out);
  bool put(int field, const Value& value);
  // Overwrites the current record with the bytes of a record of the same
  // layout (deletion flag first, '*' or blank afterwards), except its memo
  // fields, which keep their own blocks: copies between tables put the
  // memo texts separately.
  bool put_record(std::string_view bytes);
  bool delete_record();
  bool recall();

  // --- changes
  // Adds a blank record at the end and makes it current. With shared use
  // it is written at once, with the header, and stays locked.
  bool append(bool release_other_locks = true);
  bool pack(const std::function<void(std::uint32_t done)>& progress = {}, std::uint32_t every = 0);
  bool zap();
  // Writes the changed record and a pending header, forces the files to disk.
  bool commit();
  // Writes the current record if it holds changes (the record goes cold).
  bool flush_record();

  // --- locks (single tries; waiting is the caller's)
  bool lock_record(std::uint32_t n, bool additional = false);
  bool lock_file();
  bool unlock_record(std::uint32_t n);
  bool unlock_all();
  bool record_locked(std::uint32_t n) const;
  bool file_locked() const { return file_locked_; }
  const std::vector<std::uint32_t>& locked_records() const { return locked_; }
  void set_lock_layout(LockLayout layout) { layout_ = layout; }
  const LockLayout& lock_layout() const { return layout_; }

  // One observer (the table's index list); nullptr removes it.
  void set_observer(RecordObserver* observer) { observer_ = observer; }

  // The error of the last operation (kind None when it succeeded).
  const TableError& error() const { return error_; }

 private:
  Table(FileSystem& fs, std::string file_name);
  bool fail(TableErrorKind kind, std::string detail = {}, int os_code = 0);
  bool io_fail(TableErrorKind kind, std::string detail);
  bool ensure_buffer();
  void blank_buffer();
  bool writable_check();
  void mark_changed();
  bool recount();
  bool write_header();
  bool release_record_locks();
  bool sync_files();
  std::uint64_t record_offset(std::uint32_t n) const {
    return static_cast<std::uint64_t>(header_length_) + static_cast<std::uint64_t>(record_length_) * (n - 1);
  }

  FileSystem& fs_;
  std::string file_name_;
  std::unique_ptr<File> file_;
  std::unique_ptr<MemoFile> memo_;
  TableHeader header_;
  std::vector<FieldDescriptor> fields_;
  int header_length_ = 0;
  int record_length_ = 0;
  bool shared_ = true;
  bool read_only_ = false;
  LockLayout layout_ = LockLayout::standard();

  std::uint32_t count_ = 0;
  std::uint32_t recno_ = 1;
  bool phantom_ = false;
  std::string buffer_;
  bool buffer_valid_ = false;
  bool buffer_changed_ = false;
  bool appended_ = false;        // the current record was added and has not gone cold yet
  char flag_read_ = ' ';        // deletion flag as read: ' ', '*', 'D' or 'E'
  bool header_pending_ = false;  // a header write is owed (exclusive appends)
  bool table_written_ = false;   // written since the last flush to disk

  std::vector<std::uint32_t> locked_;
  bool file_locked_ = false;
  bool header_locked_ = false;
  bool open_ = false;
  RecordObserver* observer_ = nullptr;
  TableError error_;
};

}  // namespace intra
