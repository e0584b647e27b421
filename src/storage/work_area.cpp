#include "storage/work_area.h"

#include "main/ascii_case.h"
#include "main/run_settings.h"
#include "storage/area_errors.h"

namespace intra {

WorkArea::WorkArea(WorkAreas& owner, int number) : owner_(owner), number_(number) {}

WorkArea::~WorkArea() {
  // The run is ending (or a test's areas go away): nothing may be lost, but
  // nobody is left to ask about a failure.
  if (!used()) return;
  table_->flush_record();
  cursor_.reset();
  indexes_.reset();
  table_->close();
}

bool WorkArea::in_use() const {
  if (used()) return true;
  // Area 0 is what a missing alias finds: that error has been reported.
  if (number_ != 0) report_area_error(area_not_in_use(number_));
  return false;
}

bool WorkArea::engine(const std::function<TableError()>& step) {
  return retry_until_done([&](RunError& error) {
    const TableError e = step();
    if (!e) return true;
    error = e.to_run_error();
    return false;
  });
}

// --- open and close

bool WorkArea::open(FileSystem& fs, std::string_view file, std::string_view alias, bool shared, TableError& error) {
  if (used() && !close()) {
    error = table_ ? table_->error() : TableError();
    return false;
  }
  std::unique_ptr<Table> table = Table::open(fs, file, OpenOptions{shared, false}, error);
  if (!table) return false;
  table_ = std::move(table);
  alias_ = upper_ascii(alias);
  indexes_ = std::make_unique<IndexList>(*table_, alias_);
  cursor_ = std::make_unique<TableCursor>(*table_, *indexes_);
  context_ = std::make_unique<RecordContext>(table_->fields(), alias_);
  found_ = false;
  prepare_cursor();
  cursor_->go_top();
  return true;
}

bool WorkArea::close() {
  if (!used()) return true;
  owner_.forget_child(number_);
  relations_.clear();
  // The changed record goes cold while the indexes are still open, so they
  // take its keys; then the indexes close, then the table.
  bool ok = engine([&] { return table_->flush_record() ? TableError() : table_->error(); });
  ok = engine([&] { return indexes_->close_all() ? TableError() : indexes_->error(); }) && ok;
  ok = engine([&] { return table_->close() ? TableError() : table_->error(); }) && ok;
  cursor_.reset();
  indexes_.reset();
  context_.reset();
  table_.reset();
  alias_.clear();
  found_ = false;
  return ok;
}

// --- fields

int WorkArea::field_pos(std::string_view name) const {
  return used() ? table_->field_index(name) + 1 : 0;
}

std::string WorkArea::field_name(int pos) const {
  if (!used() || pos < 1 || pos > table_->field_count()) return {};
  return table_->fields()[static_cast<std::size_t>(pos - 1)].name;
}

int WorkArea::field_count() const { return used() ? table_->field_count() : 0; }

std::vector<FieldSpec> WorkArea::field_list() const {
  std::vector<FieldSpec> out;
  if (!used()) return out;
  for (const FieldDescriptor& f : table_->fields()) out.push_back(FieldSpec{f.name, f.type, f.width, f.decimals});
  return out;
}

int WorkArea::field_or_report(std::string_view name) {
  if (!in_use()) return 0;
  for (;;) {
    const int pos = field_pos(name);
    if (pos != 0) return pos;
    if (!report_area_error(field_missing(alias_, upper_ascii(name)))) return 0;
  }
}

Value WorkArea::get(std::string_view name) {
  const int pos = field_or_report(name);
  return pos == 0 ? Value() : get(pos);
}

Value WorkArea::get(int pos) {
  if (!in_use() || pos < 1 || pos > table_->field_count()) return Value();
  Value v;
  engine([&] { return table_->get(pos - 1, v) ? TableError() : table_->error(); });
  return v;
}

bool WorkArea::put(std::string_view name, const Value& value) {
  const int pos = field_or_report(name);
  return pos != 0 && put(pos, value);
}

bool WorkArea::put(int pos, const Value& value) {
  if (!in_use() || pos < 1 || pos > table_->field_count()) return false;
  return engine([&] { return table_->put(pos - 1, value) ? TableError() : table_->error(); });
}

std::unique_ptr<KeyExpression> WorkArea::compile(std::string_view text) {
  if (!in_use()) return nullptr;
  for (;;) {
    std::string problem;
    std::unique_ptr<KeyExpression> e = KeyExpression::compile(text, *context_, problem);
    if (e) return e;
    if (!report_area_error(bad_expression(problem))) return nullptr;
  }
}

Value WorkArea::value_of(const KeyExpression& expression) {
  if (!used()) return Value();
  std::string_view bytes;
  // On a read error the user was asked; the expression then sees the blank
  // record the buffer holds.
  engine([&] { return table_->record_bytes(bytes) ? TableError() : table_->error(); });
  context_->set_record(bytes, table_->recno());
  return expression.evaluate(*context_);
}

// --- position

void WorkArea::prepare_cursor() { cursor_->set_deleted_hidden(run_settings().deleted_hidden); }

bool WorkArea::position(const std::function<bool()>& move) {
  if (!in_use()) return false;
  prepare_cursor();
  const bool ok = engine([&] { return move() ? TableError() : cursor_->error(); });
  follow_relations();
  return ok;
}

bool WorkArea::go_top() {
  found_ = false;
  return position([&] { return cursor_->go_top(); });
}

bool WorkArea::go_bottom() {
  found_ = false;
  return position([&] { return cursor_->go_bottom(); });
}

bool WorkArea::go_to(std::uint32_t recno) {
  found_ = false;
  return position([&] { return cursor_->go_to(recno); });
}

bool WorkArea::skip(long count) {
  found_ = false;
  return position([&] { return cursor_->skip(count); });
}

bool WorkArea::seek(const Value& value, bool soft) {
  found_ = false;
  if (!in_use()) return false;
  const bool ok = position([&] { return cursor_->seek(value, soft); });
  found_ = ok && cursor_->found();
  return found_;
}

bool WorkArea::eof() const { return !used() || cursor_->eof(); }
bool WorkArea::bof() const { return !used() || cursor_->bof(); }
std::uint32_t WorkArea::recno() const { return used() ? table_->recno() : 0; }

std::uint32_t WorkArea::lastrec() { return used() ? table_->record_count() : 0; }

bool WorkArea::deleted() { return used() && table_->deleted(); }

// --- changes

bool WorkArea::append() {
  if (!in_use()) return false;
  found_ = false;
  for (;;) {
    if (table_->append()) break;
    const TableError e = table_->error();
    if (e.kind == TableErrorKind::AppendLockFailed) {
      owner_.set_network_error(true);
      return false;
    }
    RunError r = e.to_run_error();
    if (raise_run_error(r) != ErrorAnswer::Retry) return false;
  }
  owner_.set_network_error(false);
  cursor_->arrived_elsewhere();
  follow_relations();
  return true;
}

bool WorkArea::delete_record() {
  return in_use() && engine([&] { return table_->delete_record() ? TableError() : table_->error(); });
}

bool WorkArea::recall() {
  return in_use() && engine([&] { return table_->recall() ? TableError() : table_->error(); });
}

bool WorkArea::pack() {
  if (!in_use()) return false;
  const bool ok = engine([&] {
    if (!table_->pack()) return table_->error();
    return indexes_->error();
  });
  go_top();
  return ok;
}

bool WorkArea::zap() {
  if (!in_use()) return false;
  const bool ok = engine([&] {
    if (!table_->zap()) return table_->error();
    return indexes_->error();
  });
  go_top();
  return ok;
}

bool WorkArea::commit() {
  return in_use() && engine([&] { return table_->commit() ? TableError() : table_->error(); });
}

bool WorkArea::eval(const std::function<void()>& block, const std::function<bool()>& condition) {
  if (!go_top()) return false;
  while (!eof()) {
    if (!condition || condition()) block();
    if (!skip(1)) return false;
  }
  return true;
}

// --- indexes

bool WorkArea::create_index(std::string_view file, std::string_view key_text, bool unique) {
  if (!in_use()) return false;
  const bool ok =
      engine([&] { return indexes_->create(file, key_text, unique) ? TableError() : indexes_->error(); });
  cursor_->set_order(ok ? 1 : 0);
  go_top();
  return ok;
}

bool WorkArea::add_index(std::string_view file) {
  if (!in_use()) return false;
  const bool ok = engine([&] { return indexes_->add(file) ? TableError() : indexes_->error(); });
  if (ok && indexes_->size() == 1) {
    cursor_->set_order(1);
    go_top();
  }
  return ok;
}

bool WorkArea::clear_indexes() {
  if (!in_use()) return false;
  bool ok = engine([&] { return table_->flush_record() ? TableError() : table_->error(); });
  indexes_->clear();
  cursor_->set_order(0);
  return ok;
}

int WorkArea::set_order(int order) {
  if (!used()) return 0;
  const int before = cursor_->order();
  cursor_->set_order(order);
  return before;
}

int WorkArea::order() const { return used() ? cursor_->order() : 0; }

std::size_t WorkArea::index_count() const { return used() ? indexes_->size() : 0; }

std::string WorkArea::index_key(int n) const {
  if (!used()) return {};
  if (n == 0) n = cursor_->order();
  if (n < 1 || n > static_cast<int>(indexes_->size())) return {};
  return indexes_->index(static_cast<std::size_t>(n - 1)).definition().key_expression;
}

// --- relations

bool WorkArea::set_relation(WorkArea& child, std::string_view key_text) {
  if (!in_use() || !child.in_use()) return false;
  std::unique_ptr<KeyExpression> key = compile(key_text);
  if (!key) return false;
  relations_.push_back(Relation{child.number(), std::string(key_text), std::move(key)});
  follow_relations();
  return true;
}

void WorkArea::clear_relations() { relations_.clear(); }

void WorkArea::forget_child(int child_number) {
  std::erase_if(relations_, [&](const Relation& r) { return r.child == child_number; });
}

void WorkArea::follow_relations() {
  // A chain of relations moves its children in turn; a loop back into an
  // area already moving ends there.
  if (following_ || relations_.empty()) return;
  following_ = true;
  for (const Relation& r : relations_) {
    WorkArea& child = owner_.at(r.child);
    if (!child.used() || child.following_) continue;
    const Value key = value_of(*r.key);
    if (child.order() > 0)
      child.seek(key);
    else
      child.go_to(key.is_number() && key.number() >= 1 ? static_cast<std::uint32_t>(key.number()) : 0);
  }
  following_ = false;
}

// --- locks

bool WorkArea::lock_record() {
  if (!in_use()) return false;
  bool locked = false;
  engine([&] {
    locked = table_->lock_record(table_->recno());
    return table_->error();
  });
  return locked;
}

bool WorkArea::lock_file() {
  if (!in_use()) return false;
  bool locked = false;
  engine([&] {
    locked = table_->lock_file();
    return table_->error();
  });
  return locked;
}

bool WorkArea::unlock() {
  return in_use() && engine([&] { return table_->unlock_all() ? TableError() : table_->error(); });
}

}  // namespace intra
