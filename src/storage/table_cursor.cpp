#include "storage/table_cursor.h"

namespace intra {

bool TableCursor::fail(const TableError& e) {
  error_ = e;
  return false;
}

bool TableCursor::set_order(int order) {
  if (order < 0 || order > static_cast<int>(indexes_.size())) return false;
  order_ = order;
  return true;
}

bool TableCursor::hidden() { return deleted_hidden_ && table_.deleted(); }

bool TableCursor::to_end() {
  eof_ = true;
  if (!table_.go_to(table_.record_count() + 1)) return fail(table_.error());
  return true;
}

bool TableCursor::arrive(std::uint32_t recno) {
  if (!table_.go_to(recno)) return fail(table_.error());
  return true;
}

bool TableCursor::go_to(std::uint32_t recno) {
  error_ = TableError();
  eof_ = bof_ = false;
  if (!arrive(recno)) return false;
  eof_ = table_.at_phantom();
  return true;
}

bool TableCursor::settle_in_index(bool forward) {
  NtxIndex& index = controlling();
  while (index.on_key()) {
    if (!arrive(index.current_recno())) return false;
    if (!hidden()) return true;
    if (!(forward ? index.next() : index.prev()) && index.error()) return fail(index.error());
  }
  return false;
}

bool TableCursor::flush() {
  // A changed record goes cold first, so that the indexes hold its new keys
  // before anything is positioned by them.
  if (!table_.flush_record()) return fail(table_.error());
  return true;
}

bool TableCursor::go_top() {
  error_ = TableError();
  eof_ = bof_ = false;
  if (!flush()) return false;
  if (order_ == 0) {
    if (!arrive(1)) return false;
    while (!table_.at_phantom() && hidden())
      if (!arrive(table_.recno() + 1)) return false;
    if (table_.at_phantom()) eof_ = bof_ = true;
    return !error_;
  }
  NtxIndex& index = controlling();
  if (!index.first() && index.error()) return fail(index.error());
  if (!settle_in_index(true)) {
    if (error_) return false;
    bof_ = true;
    return to_end();
  }
  return true;
}

bool TableCursor::go_bottom() {
  error_ = TableError();
  eof_ = bof_ = false;
  if (!flush()) return false;
  if (order_ == 0) {
    for (std::uint32_t n = table_.record_count(); n >= 1; --n) {
      if (!arrive(n)) return false;
      if (!hidden()) return true;
    }
    bof_ = true;
    return to_end();
  }
  NtxIndex& index = controlling();
  if (!index.last() && index.error()) return fail(index.error());
  if (!settle_in_index(false)) {
    if (error_) return false;
    bof_ = true;
    return to_end();
  }
  return true;
}

bool TableCursor::skip_natural(bool forward) {
  if (forward) {
    do {
      if (!arrive(table_.recno() + 1)) return false;
    } while (!table_.at_phantom() && hidden());
    eof_ = table_.at_phantom();
    return true;
  }
  const std::uint32_t start = table_.recno();
  for (std::uint32_t n = start; n > 1;) {
    if (!arrive(--n)) return false;
    if (!hidden()) return true;
  }
  // Nothing visible before: back where the step began, at the beginning.
  if (!arrive(start)) return false;
  bof_ = true;
  return true;
}

bool TableCursor::refind() {
  NtxIndex& index = controlling();
  const std::uint32_t recno = table_.recno();
  const std::size_t which = static_cast<std::size_t>(order_ - 1);
  if (index.path_valid() && index.current_recno() == recno) return true;
  if (index.on_key() && index.current_recno() == recno) {
    const std::string saved = index.current_key();
    if (index.find(saved, recno)) return true;
  }
  if (!indexes_.current_passes(which)) return false;
  const std::string key = indexes_.current_key(which);
  if (index.find(key, recno)) return true;
  // The buffer may be stale: read the record again and look once more.
  if (!arrive(recno)) return false;
  const std::string fresh = indexes_.current_key(which);
  return fresh != key && index.find(fresh, recno);
}

bool TableCursor::skip_indexed(bool forward) {
  NtxIndex& index = controlling();
  const std::uint32_t start = table_.recno();
  if (!refind()) {
    if (error_) return false;
    if (forward) return to_end();
    bof_ = true;
    return true;
  }
  if (!(forward ? index.next() : index.prev()) && index.error()) return fail(index.error());
  if (settle_in_index(forward)) return true;
  if (error_) return false;
  if (forward) return to_end();
  // Before the first visible key: stay on the record the step began from.
  bof_ = true;
  if (!arrive(start)) return false;
  index.find(indexes_.current_key(static_cast<std::size_t>(order_ - 1)), start);
  return true;
}

bool TableCursor::skip(long count) {
  error_ = TableError();
  bof_ = false;
  if (!flush()) return false;
  if (count == 0) return arrive(table_.recno());
  const bool forward = count > 0;
  for (long i = 0, n = forward ? count : -count; i < n; ++i) {
    if (forward && eof_) return true;
    if (!forward && eof_) {
      // One step back from the end is the last visible record.
      if (!go_bottom()) return false;
      if (eof_) {
        bof_ = true;
        return true;
      }
      continue;
    }
    const bool ok = order_ == 0 ? skip_natural(forward) : skip_indexed(forward);
    if (!ok) return false;
    if (bof_ || eof_) return true;
  }
  return true;
}

bool TableCursor::seek(const Value& value, bool soft) {
  error_ = TableError();
  eof_ = bof_ = found_ = false;
  if (order_ == 0) return fail(TableError::make(TableErrorKind::DataType, table_.file_name(), "seek without an index"));
  if (!flush()) return false;
  NtxIndex& index = controlling();
  const std::string key = indexes_.search_key(static_cast<std::size_t>(order_ - 1), value);
  bool equal = false;
  if (!index.seek(key, equal) && index.error()) return fail(index.error());
  if (!index.on_key() || (!equal && !soft)) return to_end();
  if (!settle_in_index(true)) return error_ ? false : to_end();
  found_ = index.current_key().compare(0, key.size(), key) == 0;
  if (!found_ && !soft) return to_end();
  return true;
}

}  // namespace intra
