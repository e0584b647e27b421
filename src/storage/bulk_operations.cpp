#include "storage/bulk_operations.h"

#include <chrono>
#include <memory>

#include "main/ascii_case.h"
#include "main/clock.h"
#include "main/run_settings.h"
#include "storage/area_errors.h"
#include "storage/field_codec.h"

namespace intra {
namespace {

TableError error_of(bool ok, const Table& table) { return ok ? TableError() : table.error(); }

// Creates a table and opens it for the operation alone; nullptr when the
// user gave up on an error.
std::unique_ptr<Table> create_target(WorkArea& area, std::string_view file, const std::vector<FieldSpec>& fields) {
  FileSystem& fs = area.owner().files();
  if (!area.engine([&] {
        TableError e;
        Table::create(fs, file, fields, e);
        return e;
      }))
    return nullptr;
  std::unique_ptr<Table> table;
  area.engine([&] {
    TableError e;
    table = Table::open(fs, file, OpenOptions{false, false}, e);
    return e;
  });
  return table;
}

bool close_target(WorkArea& area, Table& table) {
  return area.engine([&] { return error_of(table.close(), table); });
}

// One record more at the end of a table the operation holds alone.
bool append_blank(WorkArea& area, Table& table) {
  return area.engine([&] { return error_of(table.append(), table); });
}

// The source record's bytes into the new target record, then its memo texts.
bool put_record_of(WorkArea& area, Table& target, Table& source) {
  std::string_view bytes;
  if (!area.engine([&] { return error_of(source.record_bytes(bytes), source); })) return false;
  if (!area.engine([&] { return error_of(target.put_record(bytes), target); })) return false;
  for (int i = 0; i < source.field_count(); ++i) {
    if (source.fields()[static_cast<std::size_t>(i)].type != 'M') continue;
    Value text;
    if (!area.engine([&] { return error_of(source.get(i, text), source); })) return false;
    if (!text.text().empty() && !area.engine([&] { return error_of(target.put(i, text), target); })) return false;
  }
  return true;
}

}  // namespace

bool copy_records(WorkArea& source, std::string_view file, const RecordCondition& condition) {
  if (!source.in_use()) return false;
  std::unique_ptr<Table> target = create_target(source, file, source.field_list());
  if (!target) return false;
  bool ok = source.go_top();
  while (ok && !source.eof()) {
    if (!condition || source.evaluate(condition))
      ok = append_blank(source, *target) && put_record_of(source, *target, source.table());
    ok = ok && source.skip(1);
  }
  return close_target(source, *target) && ok;
}

// --- append

namespace {

// How one target field is filled from the source record.
struct FieldCopy {
  int target = 0;
  int source = 0;
  bool same_type = true;
};

bool same_kind(char a, char b) {
  auto kind = [](char t) { return t == 'F' ? 'N' : t; };
  return kind(a) == kind(b);
}

std::string trimmed(std::string_view s) {
  const std::size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = s.find_last_not_of(' ');
  return std::string(s.substr(first, last - first + 1));
}

// A value of another field type in the form the target field takes; an
// empty result (logical false) when there is no sensible conversion.
std::optional<Value> converted(const Value& value, std::string_view raw, char from, char to) {
  const bool text_to = to == 'C' || to == 'M';
  if (text_to) {
    if (from == 'C' || from == 'M') return Value(value.text());
    return Value(trimmed(raw));  // the stored text: digits, yyyymmdd, T/F
  }
  if (from != 'C' && from != 'M') return std::nullopt;
  const std::string text = trimmed(value.text());
  switch (to) {
    case 'N':
    case 'F': return Value(parse_number(text));
    case 'D': return Value(Date::from_dtos(text));
    case 'L': return Value(!text.empty() && (text[0] == 'T' || text[0] == 't' || text[0] == 'Y' || text[0] == 'y'));
    default: return std::nullopt;
  }
}

// Appends a blank record to the target area: in shared use the append lock
// may be held by another station for a moment.
bool append_waiting(WorkArea& target, AppendMatch match) {
  if (target.append()) return true;
  if (!target.owner().network_error()) return false;  // the handler was asked already
  // Three tries half a second apart, then: skip the record, or ask the user.
  Clock& clock = run_clock();
  for (int attempt = 0; attempt < 2; ++attempt) {
    clock.sleep(std::chrono::milliseconds(500));
    if (target.append()) return true;
  }
  if (match == AppendMatch::SameTypeOnly) return false;
  for (;;) {
    RunError e = TableError::make(TableErrorKind::AppendLockFailed, target.table().file_name()).to_run_error();
    if (raise_run_error(e) != ErrorAnswer::Retry) return false;
    if (target.append()) return true;
  }
}

}  // namespace

bool append_records(WorkArea& target, std::string_view file, AppendMatch match) {
  if (!target.in_use()) return false;
  std::unique_ptr<Table> source;
  if (!target.engine([&] {
        TableError e;
        source = Table::open(target.owner().files(), file, OpenOptions{true, true}, e);
        return e;
      }))
    return false;

  Table& to = target.table();
  std::vector<FieldCopy> copies;
  for (int t = 0; t < to.field_count(); ++t) {
    const int s = source->field_index(to.fields()[static_cast<std::size_t>(t)].name);
    if (s < 0) continue;
    const bool same = same_kind(to.fields()[static_cast<std::size_t>(t)].type,
                                source->fields()[static_cast<std::size_t>(s)].type);
    if (!same && match == AppendMatch::SameTypeOnly) continue;
    copies.push_back(FieldCopy{t, s, same});
  }

  bool ok = true;
  const bool show_deleted = !run_settings().deleted_hidden;
  const std::uint32_t count = source->record_count();
  for (std::uint32_t n = 1; ok && n <= count; ++n) {
    if (!target.engine([&] { return error_of(source->go_to(n), *source); })) {
      ok = false;
      break;
    }
    const bool deleted = source->deleted();
    if (deleted && !show_deleted) continue;
    if (!append_waiting(target, match)) {
      if (match == AppendMatch::SameTypeOnly && target.owner().network_error()) continue;
      ok = false;
      break;
    }
    for (const FieldCopy& c : copies) {
      Value v;
      if (!target.engine([&] { return error_of(source->get(c.source, v), *source); })) return false;
      if (!c.same_type) {
        std::string_view raw;
        source->raw(c.source, raw);
        const std::optional<Value> as_target =
            converted(v, raw, source->fields()[static_cast<std::size_t>(c.source)].type,
                      to.fields()[static_cast<std::size_t>(c.target)].type);
        if (!as_target) continue;
        v = *as_target;
      }
      // A number too wide for the target is stored as the overflow mark,
      // as every program of the system shows it; anything else goes to the
      // error handler.
      target.engine([&] {
        if (to.put(c.target, v)) return TableError();
        return to.error().kind == TableErrorKind::DataWidth ? TableError() : to.error();
      });
    }
    if (deleted) target.delete_record();
  }
  source->close();
  return ok;
}

// --- total

bool total_records(WorkArea& source, std::string_view file, std::string_view key_text,
                   const std::vector<std::string>& summed, const RecordCondition& condition) {
  if (!source.in_use()) return false;
  std::unique_ptr<KeyExpression> key = source.compile(key_text);
  if (!key) return false;

  Table& from = source.table();
  std::vector<FieldSpec> fields;
  std::vector<int> kept;  // source field of each target field
  for (const FieldSpec& f : source.field_list()) {
    if (f.type == 'M') continue;
    kept.push_back(from.field_index(f.name));
    fields.push_back(f);
  }
  std::vector<int> sums;  // target fields summed
  for (const std::string& name : summed) {
    int at = -1;
    for (std::size_t i = 0; i < fields.size(); ++i)
      if (fields[i].name == upper_ascii(name)) at = static_cast<int>(i);
    if (at < 0) {
      // Not a field of the table: reported, and the total goes on without it.
      report_area_error(field_missing(source.alias(), upper_ascii(name)));
      continue;
    }
    sums.push_back(at);
  }

  std::unique_ptr<Table> target = create_target(source, file, fields);
  if (!target) return false;
  std::vector<double> totals(sums.size(), 0.0);
  bool in_run = false;
  Value run_key;

  auto finish_run = [&]() {
    for (std::size_t i = 0; i < sums.size(); ++i) {
      const Value total(totals[i]);
      source.engine([&] {
        if (target->put(sums[i], total)) return TableError();
        return target->error().kind == TableErrorKind::DataWidth ? TableError() : target->error();
      });
    }
  };

  bool ok = source.go_top();
  std::string record;
  while (ok && !source.eof()) {
    if (!condition || source.evaluate(condition)) {
      const Value k = source.value_of(*key);
      if (!in_run || !(k == run_key)) {
        if (in_run) finish_run();
        // The run's first record, without the memo fields, begins the new one.
        std::string_view bytes;
        ok = source.engine([&] { return error_of(from.record_bytes(bytes), from); });
        if (!ok) break;
        record.assign(1, bytes[0]);
        for (int s : kept) {
          const FieldDescriptor& f = from.fields()[static_cast<std::size_t>(s)];
          record.append(bytes.substr(static_cast<std::size_t>(f.offset), static_cast<std::size_t>(f.width)));
        }
        ok = append_blank(source, *target) &&
             source.engine([&] { return error_of(target->put_record(record), *target); });
        std::fill(totals.begin(), totals.end(), 0.0);
        in_run = true;
        run_key = k;
      }
      for (std::size_t i = 0; i < sums.size(); ++i) totals[i] += from.get(kept[static_cast<std::size_t>(sums[i])]).number();
    }
    ok = ok && source.skip(1);
  }
  if (in_run) finish_run();
  return close_target(source, *target) && ok;
}

}  // namespace intra
