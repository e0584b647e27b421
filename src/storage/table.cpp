#include "storage/table.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "main/ascii_case.h"
#include "main/clock.h"
#include "storage/field_codec.h"
#include "storage/memo_file.h"
#include "storage/share_mode.h"

namespace intra {
namespace {

bool is_deleted_flag(char flag) { return flag == '*' || flag == 'D'; }

// Whether a value has the type a field takes, checked before anything of
// the record changes.
bool value_fits_type(const FieldDescriptor& f, const Value& v) {
  switch (f.type) {
    case 'C':
    case 'M': return v.is_text();
    case 'D': return v.is_date();
    case 'L': return v.is_logical();
    default: return v.is_number();
  }
}

// The memo block a field holds; a damaged number (negative, fractional,
// beyond 32 bits) counts as no memo rather than wrapping to another block.
std::uint32_t memo_block_of(const Value& number) {
  const double n = number.number();
  if (!(n >= 0) || n > 4294967295.0 || n != static_cast<double>(static_cast<std::uint64_t>(n))) return 0;
  return static_cast<std::uint32_t>(n);
}

std::string trim_blanks(std::string_view s) {
  const std::size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

bool valid_field_name(std::string_view name) {
  for (char c : name)
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  return true;
}

// Opening a file that another open holds in a conflicting share mode, or
// that the operating system refuses, is a sharing conflict for the caller.
TableError open_failure(TableErrorKind kind, const std::string& file, int errno_value) {
  if (errno_value == EACCES || errno_value == EPERM)
    return TableError::make(kind, file, "access denied", kSharingViolation);
  return TableError::make(kind, file, {}, dos_error_code(errno_value));
}

}  // namespace

std::string Table::table_file_name(std::string_view name) {
  const std::size_t slash = name.find_last_of("\\/");
  const std::size_t dot = name.find('.', slash == std::string_view::npos ? 0 : slash + 1);
  return dot == std::string_view::npos ? std::string(name) + ".dbf" : std::string(name);
}

std::string Table::memo_file_name(std::string_view table_file) {
  const std::size_t slash = table_file.find_last_of("\\/");
  const std::size_t dot = table_file.rfind('.');
  const bool has_extension = dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
  // Keep the letter case of the table's extension for the memo's.
  const bool upper = has_extension && dot + 1 < table_file.size() && table_file[dot + 1] >= 'A' &&
                     table_file[dot + 1] <= 'Z';
  return std::string(table_file.substr(0, has_extension ? dot : table_file.size())) + (upper ? ".DBT" : ".dbt");
}

Table::Table(FileSystem& fs, std::string file_name) : fs_(fs), file_name_(std::move(file_name)) {}

Table::~Table() { close(); }

bool Table::fail(TableErrorKind kind, std::string detail, int os_code) {
  error_ = TableError::make(kind, file_name_, std::move(detail), os_code);
  return false;
}

bool Table::io_fail(TableErrorKind kind, std::string detail) {
  return fail(kind, std::move(detail), dos_error_code(file_->os_error()));
}

std::unique_ptr<Table> Table::open(FileSystem& fs, std::string_view name, OpenOptions options, TableError& error) {
  std::unique_ptr<Table> t(new Table(fs, table_file_name(name)));
  t->shared_ = options.shared;
  t->read_only_ = options.read_only;
  const OpenMode mode = options.read_only ? OpenMode::Read : OpenMode::ReadWrite;

  t->file_ = fs.open(t->file_name_, mode);
  if (!t->file_) {
    error = open_failure(TableErrorKind::OpenError, t->file_name_, fs.last_error());
    return nullptr;
  }
  switch (take_share_mode(*t->file_, !options.shared)) {
    case ShareResult::Granted: break;
    case ShareResult::Conflict:
      error = TableError::make(TableErrorKind::OpenError, t->file_name_, "in use by another station", kSharingViolation);
      return nullptr;
    case ShareResult::Failed:
      error = TableError::make(TableErrorKind::OpenError, t->file_name_, "share mode", dos_error_code(t->file_->os_error()));
      return nullptr;
  }

  auto corrupt = [&](const std::string& detail) {
    error = TableError::make(TableErrorKind::Corruption, t->file_name_, detail);
    return nullptr;
  };
  char head[kHeaderSize];
  if (t->file_->read_at(0, head, kHeaderSize) != static_cast<long long>(kHeaderSize))
    return corrupt("file shorter than its header");
  t->header_ = decode_header(std::string_view(head, kHeaderSize));
  if (!version_accepted(t->header_.version)) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "bad version byte 0x%02X", t->header_.version);
    return corrupt(buf);
  }
  t->header_length_ = t->header_.header_length;
  if (t->header_length_ < static_cast<int>(kHeaderSize + kDescriptorSize))
    return corrupt("header length " + std::to_string(t->header_length_) + " leaves no room for a field");
  std::string area(static_cast<std::size_t>(t->header_length_) - kHeaderSize, '\0');
  if (t->file_->read_at(kHeaderSize, area.data(), area.size()) != static_cast<long long>(area.size()))
    return corrupt("descriptor area cannot be read");
  std::string problem;
  auto fields = decode_descriptors(area, problem);
  if (!fields) return corrupt(problem);
  t->fields_ = std::move(*fields);
  t->record_length_ = record_length_of(t->fields_);

  if (intra::has_memo(t->header_, t->fields_)) {
    const std::string memo_name = memo_file_name(t->file_name_);
    auto memo = fs.open(memo_name, mode);
    if (!memo) {
      error = open_failure(TableErrorKind::OpenError, memo_name, fs.last_error());
      return nullptr;
    }
    if (take_share_mode(*memo, !options.shared) != ShareResult::Granted) {
      error = TableError::make(TableErrorKind::OpenError, memo_name, "in use by another station", kSharingViolation);
      return nullptr;
    }
    t->memo_ = std::make_unique<MemoFile>(std::move(memo), memo_name, options.shared, options.read_only);
  }

  t->open_ = true;
  if (!t->recount()) {
    error = t->error_;
    t->open_ = false;
    return nullptr;
  }
  t->go_to(1);
  error = TableError();
  return t;
}

bool Table::create(FileSystem& fs, std::string_view name, const std::vector<FieldSpec>& specs, TableError& error) {
  const std::string file_name = table_file_name(name);
  auto refuse = [&](const std::string& detail) {
    error = TableError::make(TableErrorKind::CreateError, file_name, detail);
    return false;
  };
  if (specs.empty()) return refuse("no field");
  std::vector<FieldDescriptor> fields;
  bool memo = false;
  for (const FieldSpec& s : specs) {
    FieldDescriptor f;
    f.name = upper_ascii(trim_blanks(s.name));
    if (f.name.empty()) return refuse("a field without a name");
    if (f.name.size() > 10) return refuse("field name " + f.name + " is longer than 10 characters");
    if (!valid_field_name(f.name)) return refuse("field name " + f.name + " has characters other than letters, digits and _");
    for (const FieldDescriptor& earlier : fields)
      if (earlier.name == f.name) return refuse("field " + f.name + " appears twice");
    f.type = static_cast<char>(upper_ascii(std::string(1, s.type))[0]);
    f.width = s.width;
    f.decimals = s.decimals;
    switch (f.type) {
      case 'D': f.width = 8; f.decimals = 0; break;
      case 'L': f.width = 1; f.decimals = 0; break;
      case 'M': f.width = 10; f.decimals = 0; memo = true; break;
      case 'C':
        if (f.width < 1 || f.width > 65535) return refuse("field " + f.name + " width " + std::to_string(f.width));
        f.decimals = 0;
        break;
      case 'N':
      case 'F':
        if (f.width < 1 || f.width > 255 || f.decimals < 0 || f.decimals > 255 ||
            (f.decimals > 0 && f.decimals > f.width - 2))
          return refuse("field " + f.name + " width " + std::to_string(f.width) + "," + std::to_string(f.decimals));
        break;
      default: return refuse(std::string("field ") + f.name + " has unknown type " + f.type);
    }
    fields.push_back(f);
  }
  if (record_length_of(fields) > 0xFFFF) return refuse("record longer than 65535 bytes");

  auto file = fs.open(file_name, OpenMode::Create);
  if (!file) {
    error = open_failure(TableErrorKind::CreateError, file_name, fs.last_error());
    return false;
  }
  if (take_share_mode(*file, true) != ShareResult::Granted) {
    error = TableError::make(TableErrorKind::CreateError, file_name, "in use by another station", kSharingViolation);
    return false;
  }
  TableHeader h;
  h.version = memo ? 0x83 : 0x03;
  h.last_update = run_clock().local_time().date;
  h.header_length = static_cast<std::uint16_t>(header_length_of(fields));
  h.record_length = static_cast<std::uint16_t>(record_length_of(fields));
  std::string bytes = encode_header(h);
  for (const FieldDescriptor& f : fields) bytes += encode_descriptor(f);
  bytes += '\x0D';
  bytes += '\0';
  bytes += static_cast<char>(kEndOfFile);
  if (!file->truncate(0) || file->write_at(0, bytes.data(), bytes.size()) != static_cast<long long>(bytes.size()) ||
      !file->sync()) {
    error = TableError::make(TableErrorKind::CreateError, file_name, "writing the header", dos_error_code(file->os_error()));
    return false;
  }
  file.reset();
  if (memo && !MemoFile::create(fs, memo_file_name(file_name), error)) return false;
  error = TableError();
  return true;
}

bool Table::close() {
  error_ = TableError();
  if (!open_) return true;
  bool ok = flush_record();
  ok = release_record_locks() && ok;
  if (file_locked_) {
    file_->unlock(layout_.file_lock_offset(), layout_.file_lock_length);
    file_locked_ = false;
  }
  if (header_pending_) ok = write_header() && ok;
  ok = sync_files() && ok;
  open_ = false;
  memo_.reset();
  file_.reset();
  return ok;
}

int Table::field_index(std::string_view name) const {
  const std::string wanted = upper_ascii(name);
  for (std::size_t i = 0; i < fields_.size(); ++i)
    if (fields_[i].name == wanted) return static_cast<int>(i);
  return -1;
}

bool Table::recount() {
  const auto size = file_->size();
  if (!size) return io_fail(TableErrorKind::ReadError, "file size");
  const std::uint64_t data = *size > static_cast<std::uint64_t>(header_length_) ? *size - header_length_ : 0;
  count_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(data / static_cast<std::uint64_t>(record_length_), 0xFFFFFFFFu));
  return true;
}

std::uint32_t Table::record_count() {
  if (open_ && shared_) recount();
  return count_;
}

void Table::blank_buffer() {
  buffer_.assign(static_cast<std::size_t>(record_length_), ' ');
  for (const FieldDescriptor& f : fields_) blank_field(f, buffer_.data() + f.offset);
}

bool Table::go_to(std::uint32_t n) {
  error_ = TableError();
  if (!open_) return fail(TableErrorKind::ReadError, "table is closed");
  const bool written = flush_record();
  if (n >= 1 && n > count_ && shared_) recount();
  if (n < 1 || n > count_) {
    recno_ = count_ + 1;
    phantom_ = true;
    blank_buffer();
    flag_read_ = ' ';
    buffer_valid_ = true;
  } else {
    recno_ = n;
    phantom_ = false;
    buffer_valid_ = false;
  }
  return written;
}

bool Table::ensure_buffer() {
  if (buffer_valid_) return true;
  buffer_.resize(static_cast<std::size_t>(record_length_));
  const long long got = file_->read_at(record_offset(recno_), buffer_.data(), buffer_.size());
  if (got != static_cast<long long>(buffer_.size())) {
    blank_buffer();
    flag_read_ = ' ';
    buffer_valid_ = true;
    return got < 0 ? io_fail(TableErrorKind::ReadError, "record " + std::to_string(recno_))
                   : fail(TableErrorKind::ReadError, "record " + std::to_string(recno_) + " is cut short");
  }
  flag_read_ = buffer_[0];
  buffer_valid_ = true;
  return true;
}

bool Table::deleted() {
  error_ = TableError();
  if (!ensure_buffer()) return false;
  return is_deleted_flag(buffer_[0]);
}

bool Table::raw(int field, std::string_view& out) {
  error_ = TableError();
  if (field < 0 || field >= field_count()) return fail(TableErrorKind::DataType, "no field " + std::to_string(field + 1));
  const bool ok = ensure_buffer();
  const FieldDescriptor& f = fields_[static_cast<std::size_t>(field)];
  out = std::string_view(buffer_).substr(static_cast<std::size_t>(f.offset), static_cast<std::size_t>(f.width));
  return ok;
}

bool Table::record_bytes(std::string_view& out) {
  error_ = TableError();
  const bool ok = ensure_buffer();
  out = buffer_;
  return ok;
}

bool Table::read_records(std::uint32_t first, std::uint32_t count, std::string& out) {
  error_ = TableError();
  // Never more than the file can hold: a count from a damaged header must
  // not size the buffer.
  const std::uint32_t known = shared_ ? (recount(), count_) : count_;
  count = first >= 1 && first <= known ? std::min(count, known - first + 1) : 0;
  out.resize(static_cast<std::size_t>(count) * static_cast<std::size_t>(record_length_));
  const long long got = file_->read_at(record_offset(first), out.data(), out.size());
  if (got < 0) {
    out.clear();
    return io_fail(TableErrorKind::ReadError, "records from " + std::to_string(first));
  }
  out.resize(static_cast<std::size_t>(got) / static_cast<std::size_t>(record_length_) *
             static_cast<std::size_t>(record_length_));
  return true;
}

bool Table::get(int field, Value& out) {
  std::string_view bytes;
  const bool ok = raw(field, bytes);
  if (field < 0 || field >= field_count()) {
    out = Value();
    return false;
  }
  const FieldDescriptor& f = fields_[static_cast<std::size_t>(field)];
  out = decode_field(f, bytes);
  if (f.type == 'M') {
    std::string text;
    const std::uint32_t block = memo_block_of(out);
    if (!memo_) {
      out = Value(std::string());
      return ok;
    }
    if (!memo_->read(block, text, error_)) {
      out = Value(std::string());
      return false;
    }
    out = Value(std::move(text));
  }
  return ok;
}

Value Table::get(int field) {
  Value v;
  get(field, v);
  return v;
}

bool Table::writable_check() {
  if (read_only_) return fail(TableErrorKind::WriteNotAllowed);
  if (shared_ && !file_locked_ && !record_locked(recno_))
    return fail(TableErrorKind::LockRequired, "record " + std::to_string(recno_));
  return ensure_buffer();
}

void Table::mark_changed() {
  if (!buffer_changed_ && !appended_ && observer_) observer_->before_first_change(*this);
  buffer_changed_ = true;
}

bool Table::put(int field, const Value& value) {
  error_ = TableError();
  if (field < 0 || field >= field_count()) return fail(TableErrorKind::DataType, "no field " + std::to_string(field + 1));
  if (phantom_) return true;  // the phantom record takes no values
  if (!writable_check()) return false;
  const FieldDescriptor& f = fields_[static_cast<std::size_t>(field)];
  if (!value_fits_type(f, value)) return fail(TableErrorKind::DataType, "field " + f.name);
  mark_changed();
  char* target = buffer_.data() + f.offset;
  EncodeResult result;
  if (f.type == 'M') {
    if (!memo_) return fail(TableErrorKind::WriteError, "no memo file");
    const std::uint32_t current =
        memo_block_of(decode_field(f, std::string_view(target, static_cast<std::size_t>(f.width))));
    std::uint32_t block = 0;
    if (!memo_->write(current, value.text(), block, error_)) return false;
    result = encode_field(f, Value(static_cast<double>(block)), target);
  } else {
    result = encode_field(f, value, target);
  }
  if (result == EncodeResult::DataType) return fail(TableErrorKind::DataType, "field " + f.name);
  // Assigning a field rewrites a 'D'/'E' flag in the classic form.
  buffer_[0] = is_deleted_flag(buffer_[0]) ? '*' : ' ';
  if (result == EncodeResult::DataWidth) return fail(TableErrorKind::DataWidth, "field " + f.name);
  return true;
}

bool Table::put_record(std::string_view bytes) {
  error_ = TableError();
  if (bytes.size() != static_cast<std::size_t>(record_length_))
    return fail(TableErrorKind::DataWidth, "record of " + std::to_string(bytes.size()) + " bytes");
  if (phantom_) return true;
  if (!writable_check()) return false;
  mark_changed();
  std::string kept;
  for (const FieldDescriptor& f : fields_)
    if (f.type == 'M') kept.append(buffer_, static_cast<std::size_t>(f.offset), static_cast<std::size_t>(f.width));
  buffer_.assign(bytes);
  buffer_[0] = is_deleted_flag(bytes[0]) ? '*' : ' ';
  std::size_t from = 0;
  for (const FieldDescriptor& f : fields_)
    if (f.type == 'M') {
      buffer_.replace(static_cast<std::size_t>(f.offset), static_cast<std::size_t>(f.width), kept, from,
                      static_cast<std::size_t>(f.width));
      from += static_cast<std::size_t>(f.width);
    }
  return true;
}

bool Table::delete_record() {
  error_ = TableError();
  if (phantom_) return true;
  if (!writable_check()) return false;
  mark_changed();
  buffer_[0] = flag_read_ == 'D' || flag_read_ == 'E' ? 'D' : '*';
  return true;
}

bool Table::recall() {
  error_ = TableError();
  if (phantom_) return true;
  if (!writable_check()) return false;
  mark_changed();
  buffer_[0] = flag_read_ == 'D' || flag_read_ == 'E' ? 'E' : ' ';
  return true;
}

bool Table::flush_record() {
  if (!buffer_changed_ || !open_) return true;
  buffer_changed_ = false;
  if (file_->write_at(record_offset(recno_), buffer_.data(), buffer_.size()) != static_cast<long long>(buffer_.size()))
    return io_fail(TableErrorKind::WriteError, "record " + std::to_string(recno_));
  table_written_ = true;
  flag_read_ = buffer_[0];
  const bool appended = appended_;
  appended_ = false;
  if (observer_ && !observer_->record_written(*this, recno_, appended)) return false;
  return true;
}

bool Table::write_header() {
  TableHeader h = header_;
  h.last_update = run_clock().local_time().date;
  bool took_lock = false;
  if (shared_) {
    if (!header_locked_) {
      if (!file_->lock_wait(layout_.header(), 1, true)) return io_fail(TableErrorKind::LockFailure, "header lock");
      header_locked_ = took_lock = true;
    }
    if (!recount()) {
      if (took_lock) file_->unlock(layout_.header(), 1);
      header_locked_ = header_locked_ && !took_lock;
      return false;
    }
  } else {
    const std::uint64_t end = record_offset(count_ + 1);
    const char marker = static_cast<char>(kEndOfFile);
    if (file_->write_at(end, &marker, 1) != 1 || !file_->truncate(end + 1))
      return io_fail(TableErrorKind::WriteError, "end of file marker");
  }
  h.record_count = count_;
  h.header_length = static_cast<std::uint16_t>(header_length_);
  h.record_length = static_cast<std::uint16_t>(record_length_);
  const std::string bytes = encode_header(h);
  const bool written = file_->write_at(0, bytes.data(), bytes.size()) == static_cast<long long>(bytes.size());
  if (took_lock) {
    file_->unlock(layout_.header(), 1);
    header_locked_ = false;
  }
  if (!written) return io_fail(TableErrorKind::WriteError, "header");
  header_pending_ = false;
  table_written_ = true;
  return true;
}

bool Table::append(bool release_other_locks) {
  error_ = TableError();
  if (!open_) return fail(TableErrorKind::WriteError, "table is closed");
  if (read_only_) return fail(TableErrorKind::WriteNotAllowed);
  if (!flush_record()) return false;
  if (!shared_) {
    ++count_;
    recno_ = count_;
    phantom_ = false;
    blank_buffer();
    flag_read_ = ' ';
    buffer_valid_ = true;
    buffer_changed_ = true;
    appended_ = true;
    header_pending_ = true;
    return true;
  }

  if (!file_->lock_wait(layout_.header(), 1, true)) return io_fail(TableErrorKind::LockFailure, "header lock");
  header_locked_ = true;
  auto release_header = [&] {
    file_->unlock(layout_.header(), 1);
    header_locked_ = false;
  };
  if (!recount()) {
    release_header();
    return false;
  }
  const std::uint32_t n = count_ + 1;
  if (!file_locked_ && !record_locked(n)) {
    if (release_other_locks) release_record_locks();
    if (!file_->lock(layout_.record(n), 1, true)) {
      release_header();
      return fail(TableErrorKind::AppendLockFailed, "record " + std::to_string(n), dos_error_code(file_->os_error()));
    }
    locked_.push_back(n);
  }
  blank_buffer();
  flag_read_ = ' ';
  if (file_->write_at(record_offset(n), buffer_.data(), buffer_.size()) != static_cast<long long>(buffer_.size())) {
    release_header();
    return io_fail(TableErrorKind::WriteError, "record " + std::to_string(n));
  }
  count_ = n;
  recno_ = n;
  phantom_ = false;
  buffer_valid_ = true;
  // The blank record is on disk; it is written again when it goes cold so
  // that whatever is assigned to it (and its index keys) follows.
  buffer_changed_ = true;
  appended_ = true;
  table_written_ = true;
  const bool header_ok = write_header();
  release_header();
  return header_ok;
}

bool Table::record_locked(std::uint32_t n) const {
  return file_locked_ || std::find(locked_.begin(), locked_.end(), n) != locked_.end();
}

bool Table::release_record_locks() {
  bool ok = flush_record();
  if (shared_)
    for (std::uint32_t n : locked_) file_->unlock(layout_.record(n), 1);
  locked_.clear();
  return ok;
}

bool Table::lock_record(std::uint32_t n, bool additional) {
  error_ = TableError();
  if (!open_) return false;
  if (!shared_ || file_locked_) {
    if (!shared_ && std::find(locked_.begin(), locked_.end(), n) == locked_.end()) locked_.push_back(n);
    return true;
  }
  if (additional) {
    if (std::find(locked_.begin(), locked_.end(), n) != locked_.end()) return true;
  } else {
    release_record_locks();
  }
  if (!file_->lock(layout_.record(n), 1, true)) return false;
  locked_.push_back(n);
  if (n == recno_ && !buffer_changed_ && !phantom_) buffer_valid_ = false;  // read the latest version
  return true;
}

bool Table::lock_file() {
  error_ = TableError();
  if (!open_) return false;
  if (!shared_ || file_locked_) {
    file_locked_ = true;
    return true;
  }
  release_record_locks();
  if (!file_->lock(layout_.file_lock_offset(), layout_.file_lock_length, true)) return false;
  file_locked_ = true;
  if (!buffer_changed_ && !phantom_) buffer_valid_ = false;
  return true;
}

bool Table::unlock_record(std::uint32_t n) {
  error_ = TableError();
  if (!open_) return true;
  const bool ok = flush_record();
  const auto it = std::find(locked_.begin(), locked_.end(), n);
  if (it != locked_.end()) {
    if (shared_) file_->unlock(layout_.record(n), 1);
    locked_.erase(it);
  }
  return ok;
}

bool Table::unlock_all() {
  error_ = TableError();
  if (!open_) return true;
  bool ok = release_record_locks();
  if (file_locked_) {
    if (shared_) file_->unlock(layout_.file_lock_offset(), layout_.file_lock_length);
    file_locked_ = false;
  }
  return ok;
}

bool Table::sync_files() {
  bool ok = true;
  if (table_written_) {
    if (!file_->sync()) ok = io_fail(TableErrorKind::WriteError, "flush to disk");
    table_written_ = false;
  }
  if (memo_ && !memo_->sync(error_)) ok = false;
  return ok;
}

bool Table::commit() {
  error_ = TableError();
  if (!open_) return true;
  bool ok = flush_record();
  if (header_pending_) ok = write_header() && ok;
  return sync_files() && ok;
}

bool Table::pack(const std::function<void(std::uint32_t)>& progress, std::uint32_t every) {
  error_ = TableError();
  if (shared_) return fail(TableErrorKind::ExclusiveRequired);
  if (read_only_) return fail(TableErrorKind::WriteNotAllowed);
  if (!flush_record()) return false;
  std::string record(static_cast<std::size_t>(record_length_), ' ');
  std::uint32_t kept = 0;
  for (std::uint32_t k = 1; k <= count_; ++k) {
    if (file_->read_at(record_offset(k), record.data(), record.size()) != static_cast<long long>(record.size()))
      return io_fail(TableErrorKind::ReadError, "record " + std::to_string(k));
    if (is_deleted_flag(record[0])) continue;
    ++kept;
    if (kept != k &&
        file_->write_at(record_offset(kept), record.data(), record.size()) != static_cast<long long>(record.size()))
      return io_fail(TableErrorKind::WriteError, "record " + std::to_string(kept));
    if (progress && every > 0 && k % every == 0) progress(k);
  }
  count_ = kept;
  table_written_ = true;
  if (!write_header()) return false;
  if (observer_ && !observer_->table_rewritten(*this)) return false;
  return go_to(1);
}

bool Table::zap() {
  error_ = TableError();
  if (shared_) return fail(TableErrorKind::ExclusiveRequired);
  if (read_only_) return fail(TableErrorKind::WriteNotAllowed);
  buffer_changed_ = false;
  appended_ = false;
  count_ = 0;
  if (!write_header()) return false;
  if (memo_ && !memo_->reset(error_)) return false;
  if (observer_ && !observer_->table_rewritten(*this)) return false;
  return go_to(1);
}

}  // namespace intra
