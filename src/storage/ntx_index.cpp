#include "storage/ntx_index.h"

#include <cerrno>
#include <utility>

#include "main/ascii_case.h"
#include "storage/ntx_check.h"
#include "storage/share_mode.h"

namespace intra {
namespace {

// Items a walk visits between two trims of the page cache.
constexpr std::uint64_t kStepsBetweenTrims = 256;
// Steps of next() and prev() between two looks at the file size, which
// bounds the items a walk along one path can meet.
constexpr std::uint64_t kStepsBetweenBounds = 4096;

std::string base_name_of(std::string_view file_name) {
  const std::size_t slash = file_name.find_last_of("\\/");
  std::string_view base = slash == std::string_view::npos ? file_name : file_name.substr(slash + 1);
  const std::size_t dot = base.rfind('.');
  return std::string(dot == std::string_view::npos ? base : base.substr(0, dot));
}

// A file the operating system refuses, or another open holds in a
// conflicting share mode, is a sharing conflict for the caller.
TableError open_failure(TableErrorKind kind, const std::string& file, int errno_value) {
  if (errno_value == EACCES || errno_value == EPERM)
    return TableError::make(kind, file, "access denied", kSharingViolation);
  return TableError::make(kind, file, {}, dos_error_code(errno_value));
}

bool take_share(File& file, bool exclusive, TableErrorKind kind, const std::string& name, TableError& error) {
  switch (take_share_mode(file, exclusive)) {
    case ShareResult::Granted: return true;
    case ShareResult::Conflict:
      error = TableError::make(kind, name, "in use by another station", kSharingViolation);
      return false;
    case ShareResult::Failed: break;
  }
  error = TableError::make(kind, name, "share mode", dos_error_code(file.os_error()));
  return false;
}

}  // namespace

std::string NtxIndex::index_file_name(std::string_view name) {
  const std::size_t slash = name.find_last_of("\\/");
  const std::size_t dot = name.find('.', slash == std::string_view::npos ? 0 : slash + 1);
  return dot == std::string_view::npos ? std::string(name) + ".ntx" : std::string(name);
}

NtxIndex::NtxIndex(FileSystem& fs, std::unique_ptr<File> file, std::string file_name, const NtxHeader& header,
                   bool shared, bool read_only)
    : fs_(fs), file_(std::move(file)), file_name_(std::move(file_name)), header_(header),
      definition_(header.definition()), shared_(shared), read_only_(read_only),
      geometry_(NtxGeometry::of(header.key_size, header.max_keys)), order_(header.key_size, header.descending),
      store_(*file_, file_name_, geometry_, error_), tree_(store_, order_, header.unique),
      lock_(*file_, header.extended_locks()) {
  store_.adopt_stored(header.state);
}

NtxIndex::~NtxIndex() { close(); }

std::unique_ptr<NtxIndex> NtxIndex::create(FileSystem& fs, std::string_view name, const NtxDefinition& definition,
                                           const KeySource& source, bool shared, TableError& error,
                                           const NtxBuildOptions& options) {
  const std::string file_name = index_file_name(name);
  const std::string refusal = NtxHeader::refusal(definition);
  if (!refusal.empty()) {
    error = TableError::make(TableErrorKind::IndexCreateError, file_name, refusal);
    return nullptr;
  }
  std::unique_ptr<File> file = fs.open(file_name, OpenMode::Create);
  if (!file) {
    error = open_failure(TableErrorKind::IndexCreateError, file_name, fs.last_error());
    return nullptr;
  }
  if (!take_share(*file, true, TableErrorKind::IndexCreateError, file_name, error)) return nullptr;

  NtxHeader header = NtxHeader::for_definition(definition);
  std::unique_ptr<NtxIndex> index(new NtxIndex(fs, std::move(file), file_name, header, shared, false));
  // Built with the file held exclusively, so without index locks.
  index->shared_ = false;
  bool built = index->build_tree(source, options);
  index->shared_ = shared;
  if (built && shared) built = take_share(*index->file_, false, TableErrorKind::IndexCreateError, file_name, index->error_);
  if (!built) {
    error = index->error_;
    error.kind = TableErrorKind::IndexCreateError;
    index.reset();
    fs.remove(file_name);
    return nullptr;
  }
  error = TableError();
  return index;
}

std::unique_ptr<NtxIndex> NtxIndex::open(FileSystem& fs, std::string_view name, bool shared, bool read_only,
                                         TableError& error) {
  const std::string file_name = index_file_name(name);
  std::unique_ptr<File> file = fs.open(file_name, read_only ? OpenMode::Read : OpenMode::ReadWrite);
  if (!file) {
    error = open_failure(TableErrorKind::IndexOpenError, file_name, fs.last_error());
    return nullptr;
  }
  if (!take_share(*file, !shared, TableErrorKind::IndexOpenError, file_name, error)) return nullptr;
  NtxHeaderBlock block{};
  const long long got = file->read_at(0, block.data(), block.size());
  if (got != static_cast<long long>(block.size())) {
    error = TableError::make(TableErrorKind::Corruption, file_name, "header cannot be read whole");
    return nullptr;
  }
  std::string problem;
  const std::optional<NtxHeader> header = decode_ntx_header(block, problem);
  if (!header) {
    error = TableError::make(TableErrorKind::Corruption, file_name, problem);
    return nullptr;
  }
  error = TableError();
  return std::unique_ptr<NtxIndex>(new NtxIndex(fs, std::move(file), file_name, *header, shared, read_only));
}

bool NtxIndex::close() {
  if (!open_) return true;
  const bool synced = sync();
  lose_position();
  open_ = false;
  file_.reset();
  return synced;
}

bool NtxIndex::sync() {
  if (!open_ || !written_since_sync_) return true;
  if (!file_->sync()) {
    error_ = TableError::make(TableErrorKind::WriteError, file_name_, "flush to disk", dos_error_code(file_->os_error()));
    return false;
  }
  written_since_sync_ = false;
  return true;
}

std::string NtxIndex::order_name() const {
  const std::string& stored = header_.stored_order_name;
  if (!stored.empty() && static_cast<unsigned char>(stored[0]) > 20) return upper_ascii(stored);
  return upper_ascii(base_name_of(file_name_));
}

// ---------------------------------------------------------------------------
// Operations under the index locks

bool NtxIndex::begin(bool write) {
  error_ = TableError();
  if (!open_) {
    error_ = TableError::make(TableErrorKind::ReadError, file_name_, "index is closed");
    return false;
  }
  if (shared_) {
    if (!lock_.acquire(write)) {
      error_ = TableError::make(TableErrorKind::LockFailure, file_name_, write ? "index write lock" : "index read lock",
                                dos_error_code(file_->os_error()));
      return false;
    }
    bool discarded = false;
    if (!store_.refresh_state(discarded)) {
      lock_.release();
      return false;
    }
    if (discarded) path_valid_ = false;
    if (write) store_.forget_end_of_file();
  }
  store_.trim();
  return true;
}

bool NtxIndex::release_lock(bool ok) {
  if (!lock_.release() && ok) {
    error_ = TableError::make(TableErrorKind::LockFailure, file_name_, "index unlock", dos_error_code(file_->os_error()));
    return false;
  }
  return ok;
}

bool NtxIndex::end_read(bool ok) {
  if (!ok) path_valid_ = false;
  return release_lock(ok);
}

bool NtxIndex::end_write(bool ok, const NtxHeaderState& before) {
  bool written = false;
  if (ok) ok = store_.write_changed_pages(written);
  if (!ok) {
    // Nothing of a failed change stays in memory. Pages that did reach the
    // file (a write failing half-way) are announced through the version,
    // so that other stations read them again.
    store_.discard();
    store_.state().root = before.root;
    store_.state().free_page = before.free_page;
  }
  if ((shared_ && written) || store_.root_or_free_list_moved()) {
    const TableError cause = error_;
    if (!store_.write_state() && ok) ok = false;
    if (cause) error_ = cause;
  }
  written_since_sync_ = written_since_sync_ || written;
  path_valid_ = false;
  return release_lock(ok);
}

template <class Body>
bool NtxIndex::reading(Body&& body) {
  if (!begin(false)) return false;
  return end_read(body());
}

template <class Body>
bool NtxIndex::writing(Body&& body) {
  if (!refuse_changes()) return false;
  if (!begin(true)) return false;
  const NtxHeaderState before = store_.state();
  const bool ok = body();
  return end_write(ok, before);
}

bool NtxIndex::refuse_changes() {
  error_ = TableError();
  if (!read_only_) return true;
  error_ = TableError::make(TableErrorKind::WriteNotAllowed, file_name_, "index opened read-only");
  return false;
}

// ---------------------------------------------------------------------------
// Building

bool NtxIndex::write_full_header() {
  header_.state = store_.state();
  header_.state.version = static_cast<std::uint16_t>(store_.stored_state().version + 1);
  const NtxHeaderBlock block = encode_ntx_header(header_);
  if (file_->write_at(0, block.data(), block.size()) != static_cast<long long>(block.size())) {
    error_ = TableError::make(TableErrorKind::WriteError, file_name_, "index header", dos_error_code(file_->os_error()));
    return false;
  }
  written_since_sync_ = true;
  store_.adopt_stored(header_.state);
  return true;
}

bool NtxIndex::build_tree(const KeySource& source, const NtxBuildOptions& options) {
  store_.discard();
  lose_position();
  if (!file_->truncate(kNtxBlockSize)) {
    error_ = TableError::make(TableErrorKind::WriteError, file_name_, "cutting the index to its header",
                              dos_error_code(file_->os_error()));
    return false;
  }
  written_since_sync_ = true;
  NtxBuildResult built;
  if (!ntx_bulk_build(fs_, *file_, file_name_, geometry_, order_, header_.unique, source, options, built, error_))
    return false;
  store_.state().root = built.root;
  store_.state().free_page = 0;
  store_.set_end_of_file(built.end_of_file);
  bool written = false;
  if (!tree_.repair_right_edge() || !store_.write_changed_pages(written)) {
    store_.discard();
    return false;
  }
  return write_full_header();
}

bool NtxIndex::rebuild(const KeySource& source, const NtxBuildOptions& options) {
  if (!refuse_changes() || !begin(true)) return false;
  const bool ok = build_tree(source, options);
  if (!ok) store_.discard();
  return release_lock(ok);
}

bool NtxIndex::zap() {
  if (!refuse_changes() || !begin(true)) return false;
  store_.discard();
  lose_position();
  bool ok = file_->truncate(kNtxBlockSize);
  if (ok) {
    unsigned char page[kNtxBlockSize];
    NtxPage::format_new(page, geometry_);
    ok = file_->write_at(kNtxBlockSize, page, kNtxBlockSize) == static_cast<long long>(kNtxBlockSize);
  }
  if (!ok) {
    error_ = TableError::make(TableErrorKind::WriteError, file_name_, "emptying the index", dos_error_code(file_->os_error()));
  } else {
    store_.state().root = static_cast<std::uint32_t>(kNtxBlockSize);
    store_.state().free_page = 0;
    store_.set_end_of_file(2 * kNtxBlockSize);
    ok = write_full_header();
  }
  return release_lock(ok);
}

// ---------------------------------------------------------------------------
// Navigation

std::string NtxIndex::normalized(std::string_view key) const {
  std::string out(key.substr(0, static_cast<std::size_t>(geometry_.key_size)));
  out.resize(static_cast<std::size_t>(geometry_.key_size), ' ');
  return out;
}

void NtxIndex::lose_position() {
  path_.clear();
  path_valid_ = false;
  on_key_ = eof_ = bof_ = false;
  current_key_.clear();
  current_recno_ = 0;
}

// Takes the settled path as the current position; an empty path is past
// the end (`past_end`) or before the start.
bool NtxIndex::take_position(bool past_end) {
  if (path_.empty()) {
    lose_position();
    (past_end ? eof_ : bof_) = true;
    return true;
  }
  NtxPage page = tree_.current_page(path_);
  if (!page) {
    lose_position();
    return false;
  }
  const int position = path_.back().position;
  current_key_.assign(reinterpret_cast<const char*>(page.key(position)), static_cast<std::size_t>(geometry_.key_size));
  current_recno_ = page.recno(position);
  on_key_ = true;
  eof_ = bof_ = false;
  path_valid_ = true;
  return true;
}

bool NtxIndex::first() {
  const bool ok = reading([&] {
    steps_ = 0;
    if (!tree_.first(path_) || !take_position(true)) return false;
    bof_ = bof_ || eof_;  // an empty index is at both ends
    return true;
  });
  return ok && on_key_;
}

bool NtxIndex::last() {
  const bool ok = reading([&] {
    steps_ = 0;
    if (!tree_.last(path_) || !take_position(false)) return false;
    eof_ = eof_ || bof_;
    return true;
  });
  return ok && on_key_;
}

bool NtxIndex::seek(std::string_view key, bool& found) {
  found = false;
  const std::string_view search = key.substr(0, static_cast<std::size_t>(geometry_.key_size));
  const bool ok = reading([&] {
    steps_ = 0;
    if (!tree_.descend(search, NtxTree::Bound::FirstNotLess, path_) || !tree_.settle_forward(path_) ||
        !take_position(true))
      return false;
    found = on_key_ && order_.compare_prefix(reinterpret_cast<const unsigned char*>(current_key_.data()), search) == 0;
    return true;
  });
  return ok && on_key_;
}

bool NtxIndex::find(std::string_view key, std::uint32_t recno) {
  const std::string full = normalized(key);
  const bool ok = reading([&] {
    steps_ = 0;
    bool found = false;
    if (!tree_.find(full, recno, path_, found)) return false;
    return take_position(true);
  });
  return ok && on_key_;
}

// Makes the path lead to the saved key again when the version protocol
// or an update made it doubtful; `found` false when the item is gone.
bool NtxIndex::ensure_path(bool& found) {
  found = true;
  if (path_valid_) return true;
  steps_ = 0;
  const std::string key = current_key_;
  const std::uint32_t recno = current_recno_;
  return tree_.find(key, recno, path_, found) && take_position(true);
}

bool NtxIndex::next() {
  const bool ok = reading([&] {
    if (eof_) return true;
    if (!on_key_) {
      steps_ = 0;
      return tree_.first(path_) && take_position(true);
    }
    bool found = false;
    if (!ensure_path(found)) return false;
    if (!found) return true;
    return tree_.next(path_) && count_step() && take_position(true);
  });
  return ok && on_key_;
}

bool NtxIndex::prev() {
  const bool ok = reading([&] {
    if (bof_) return true;
    if (!on_key_) {
      steps_ = 0;
      return tree_.last(path_) && take_position(false);
    }
    bool found = false;
    if (!ensure_path(found)) return false;
    if (!found) return true;
    return tree_.prev(path_) && count_step() && take_position(false);
  });
  return ok && on_key_;
}

// In a whole tree a walk along one path meets every item at most once, so
// it ends before it has taken as many steps as the file has item slots. A
// search renews the path (and the count): after another station's change
// or this station's own update the next step searches again.
bool NtxIndex::count_step() {
  if (++steps_ % kStepsBetweenBounds != 0) return true;
  std::uint64_t bound = 0;
  if (!store_.item_bound(bound)) return false;
  return steps_ <= bound || store_.corrupt("walk through the tree does not end");
}

// ---------------------------------------------------------------------------
// Updates, walks, checks

bool NtxIndex::update(const std::optional<std::string>& old_key, const std::optional<std::string>& new_key,
                      std::uint32_t recno, bool& old_missing) {
  old_missing = false;
  return writing([&] {
    if (old_key) {
      bool found = false;
      if (!tree_.remove(normalized(*old_key), recno, found)) return false;
      old_missing = !found;
    }
    if (new_key) {
      bool added = false;
      if (!tree_.insert(normalized(*new_key), recno, added)) return false;
    }
    return true;
  });
}

bool NtxIndex::for_each(const std::function<bool(const KeyEntry&)>& visit) {
  return reading([&] {
    std::uint64_t bound = 0;
    if (!store_.item_bound(bound)) return false;
    NtxPath path;
    if (!tree_.first(path)) return false;
    KeyEntry entry;
    for (std::uint64_t steps = 1; !path.empty(); ++steps) {
      if (steps > bound) return store_.corrupt("walk through the tree does not end");
      NtxPage page = tree_.current_page(path);
      if (!page) return false;
      entry.key.assign(reinterpret_cast<const char*>(page.key(path.back().position)),
                       static_cast<std::size_t>(geometry_.key_size));
      entry.recno = page.recno(path.back().position);
      if (!visit(entry)) return true;
      if (steps % kStepsBetweenTrims == 0) store_.trim();
      if (!tree_.next(path)) return false;
    }
    return true;
  });
}

std::vector<std::string> NtxIndex::check() {
  std::vector<std::string> problems;
  const bool ok = reading([&] {
    std::uint64_t size = 0;
    if (!store_.file_size(size)) return false;
    problems = ntx_check(store_, header_, order_, size);
    error_ = TableError();
    return true;
  });
  if (!ok) problems.push_back(error_.message());
  return problems;
}

}  // namespace intra
