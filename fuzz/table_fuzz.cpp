// Fuzz target of the table engine: whatever a table file and its memo file
// hold, opening, walking, reading, changing and packing them must never
// crash, hang, loop without end or allocate absurd amounts of memory, and
// what the engine wrote itself must read back.
//
// Build and run (clang only):
//   bash fuzz/run_table_fuzz.sh [build-dir] [seconds]
// or by hand:
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DINTRASTAT_FUZZ=ON -DINTRASTAT_TESTS=OFF
//   cmake --build build-fuzz --target table_fuzz -j2
//   mkdir -p /tmp/corpus && cp fuzz/corpus/table/* /tmp/corpus/
//   build-fuzz/fuzz/table_fuzz -max_total_time=60 /tmp/corpus
// (the first corpus directory receives new inputs: give a copy, not the
// seed directory of the repository). One input: build-fuzz/fuzz/table_fuzz FILE.
// The seeds come from build-fuzz/fuzz/make_table_seeds fuzz/corpus/table.
//
// Input layout (fuzz_input.h): 2 bytes little-endian = length of the table
// part, 1 control byte, the table file t.dbf, the rest the memo file t.dbt
// (no memo file when the rest is empty). The control byte chooses an I/O
// fault in the changing pass (once or for good, fault_file_system.h), a
// zap at its end, and how many records it changes.
//
// Each input goes through four passes over a fresh copy of its files:
//   1. read-only, shared and exclusive: walk every record (at most
//      kMaxRecords), read every field, refuse every change;
//   2. shared, two opens at once: the locks of one keep the other out,
//      an exclusive open is refused, an append of one is seen by the other;
//   3. the structure: a table created with the same fields reopens with them;
//   4. exclusive: walk, pack, change fields (memo texts too), delete,
//      recall, append, maybe zap, close; then the result must reopen.
// Invariants are checked only where no fault was injected; a broken one
// aborts with a message, which the fuzzer reports like a crash.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_input.h"
#include "fuzz_workspace.h"
#include "main/clock.h"
#include "main/date.h"
#include "main/value.h"
#include "storage/dbf_header.h"
#include "storage/table.h"

namespace intra::fuzz {
namespace {

// Bounds the work per input: a walk visits at most this many records.
constexpr std::uint32_t kMaxRecords = 10'000;

// Invariants hold while no I/O fault has been injected in the current pass.
bool sound() { return !Workspace::instance().faults().fired(); }

void require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "table_fuzz: invariant broken: %s\n", what);
  std::abort();
}

// Values to assign, taken from the input's own bytes so that mutations of
// the input steer them.
class Picker {
 public:
  explicit Picker(std::string_view source) : source_(source) {}
  std::uint8_t byte() {
    if (source_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(source_[at_ % source_.size()]);
    ++at_;
    return b;
  }
  // Letters only: a memo text cannot hold 0x1A, and round trips compare.
  std::string text(std::size_t length) {
    std::string s(length, 'A');
    const std::uint8_t seed = byte();
    for (std::size_t i = 0; i < length; ++i) s[i] = static_cast<char>('A' + (seed + i) % 26);
    return s;
  }
  double number() {
    switch (byte() % 6) {
      case 0: return 0;
      case 1: return -3.5;
      case 2: return 1234.5;
      case 3: return 1e300;
      case 4: {
        const std::uint8_t high = byte();
        return static_cast<std::int16_t>(high << 8 | byte()) / 100.0;
      }
      default: return -1e-5;
    }
  }

 private:
  std::string_view source_;
  std::size_t at_ = 0;
};

// A value of the field's type, now and then one of the wrong type.
Value value_for(const FieldDescriptor& f, Picker& p) {
  if (p.byte() % 16 == 0) return f.type == 'L' ? Value(1.0) : Value(true);
  switch (f.type) {
    case 'C': return Value(p.text(p.byte() % (static_cast<std::size_t>(f.width) + 3)));
    case 'D': return Value(Date::from_ymd(1900 + p.byte() * 3, 1 + p.byte() % 12, 1 + p.byte() % 28));
    case 'L': return Value(p.byte() % 2 == 0);
    case 'M': return Value(p.text(p.byte() * std::size_t{5}));
    default: return Value(p.number());
  }
}

// ------------------------------------------------------------------ walking

struct Walk {
  std::uint32_t count = 0;    // record_count() at the start
  std::uint32_t visited = 0;
  std::uint32_t live = 0;
  bool complete() const { return visited == count; }
};

// The count follows the file size: whole records after the header.
void check_count(Table& t, Workspace& ws) {
  const std::uint64_t size = ws.size_of("t.dbf");
  const std::uint64_t header = static_cast<std::uint64_t>(t.header_length());
  const std::uint64_t expected = size > header ? (size - header) / static_cast<std::uint64_t>(t.record_length()) : 0;
  require(t.record_count() == expected, "record count = whole records in the file");
}

void read_fields(Table& t) {
  Value v;
  std::string_view raw;
  for (int f = 0; f < t.field_count(); ++f) {
    const FieldDescriptor& d = t.fields()[static_cast<std::size_t>(f)];
    const bool got = t.get(f, v);
    const bool have_raw = t.raw(f, raw);
    if (have_raw && sound()) require(raw.size() == static_cast<std::size_t>(d.width), "raw field bytes = field width");
    if (got && d.type == 'C' && sound())
      require(v.is_text() && v.text().size() == static_cast<std::size_t>(d.width), "text field = its width");
  }
}

// The first records as one bulk read gives them: the bytes each visit reads.
constexpr std::uint32_t kBulkRecords = 64;

Walk walk(Table& t) {
  Walk w;
  w.count = t.record_count();
  const std::uint32_t limit = w.count < kMaxRecords ? w.count : kMaxRecords;
  std::string bulk;
  const bool have_bulk = t.read_records(1, limit < kBulkRecords ? limit : kBulkRecords, bulk);
  const auto record_length = static_cast<std::size_t>(t.record_length());
  for (std::uint32_t n = 1; n <= limit; ++n) {
    t.go_to(n);
    if (sound()) require(t.recno() == n && !t.at_phantom(), "go_to an existing record");
    if (!t.deleted()) ++w.live;
    read_fields(t);
    std::string_view record;
    if (t.record_bytes(record) && sound()) {
      require(record.size() == record_length, "record buffer = record length");
      if (have_bulk && n <= kBulkRecords)
        require(std::string_view(bulk).substr((n - 1) * record_length, record_length) == record,
                "a bulk read gives the records one by one");
    }
    ++w.visited;
  }
  if (have_bulk && sound())
    require(bulk.size() == (limit < kBulkRecords ? limit : kBulkRecords) * record_length,
            "a bulk read of existing records is whole");
  // Past the end a bulk read gives whole records only, and nothing beyond.
  if (w.count > 0 && t.read_records(w.count, 3, bulk) && sound())
    require(bulk.size() == record_length, "a bulk read stops at the last record");
  // Beyond both ends: the phantom record, blank and never deleted.
  for (const std::uint32_t n : {0u, w.count + 1, 0xFFFFFFFFu}) {
    t.go_to(n);
    if (sound()) require(t.at_phantom() && !t.deleted(), "phantom record beyond the ends");
    read_fields(t);
  }
  return w;
}

// ------------------------------------------------------------------ passes

std::unique_ptr<Table> open(FileSystem& files, const char* name, bool shared, bool read_only) {
  TableError error;
  return Table::open(files, name, OpenOptions{shared, read_only}, error);
}

void read_only_pass(Workspace& ws, Picker& p) {
  for (const bool shared : {true, false}) {
    auto t = open(ws.files(), "t", shared, true);
    if (!t) continue;
    check_count(*t, ws);
    walk(*t);
    t->go_to(1);
    if (!t->at_phantom()) {
      require(!t->put(0, value_for(t->fields()[0], p)), "read-only refuses an assignment");
      require(!t->delete_record() && !t->recall(), "read-only refuses delete and recall");
    }
    require(!t->append(), "read-only refuses an append");
    require(!t->pack() && !t->zap(), "read-only refuses pack and zap");
    t->lock_record(1);
    t->lock_file();
    t->unlock_all();
    t->close();
  }
}

void shared_pass(Workspace& ws, Picker& p) {
  auto a = open(ws.files(), "t", true, false);
  if (!a) return;
  walk(*a);
  auto b = open(ws.files(), "t", true, false);
  require(b != nullptr, "a second shared open is granted");
  // Both opens use the same layout, as every station follows the index's flag.
  if (p.byte() % 2 == 1) {
    a->set_lock_layout(LockLayout::extended());
    b->set_lock_layout(LockLayout::extended());
  }
  {
    TableError error;
    auto x = Table::open(ws.files(), "t", OpenOptions{false, false}, error);
    require(x == nullptr && error.sharing_conflict(), "an exclusive open is refused while shared opens exist");
  }
  const std::uint32_t count = a->record_count();
  if (count >= 1) {
    require(a->lock_record(1), "a free record lock is granted");
    require(!b->lock_record(1, true), "a held record lock is refused to another open");
    require(!b->lock_file(), "the file lock is refused while another open holds a record");
    b->go_to(1);
    require(!b->put(0, value_for(b->fields()[0], p)), "an assignment without a lock is refused");
    require(b->error().kind == TableErrorKind::LockRequired || b->error().kind == TableErrorKind::DataType,
            "an assignment without a lock says why");
    a->go_to(1);
    a->put(0, value_for(a->fields()[0], p));
    require(p.byte() % 2 == 0 ? a->unlock_all() : a->unlock_record(1), "unlock writes the record");
    require(b->lock_record(1), "a released record lock is granted");
    b->unlock_all();
  }
  require(b->append(), "a shared append with no competitor succeeds");
  require(a->record_count() == count + 1, "another open's append is seen");
  for (int f = 0; f < b->field_count(); ++f) b->put(f, value_for(b->fields()[static_cast<std::size_t>(f)], p));
  require(!a->lock_record(count + 1, true), "the appended record stays locked");
  b->unlock_all();
  a->go_to(count + 1);
  read_fields(*a);
  a->close();
  b->close();
}

// A field name as creation keeps it: without blanks around it.
std::string trimmed(std::string_view name) {
  const std::size_t first = name.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(name.substr(first, name.find_last_not_of(' ') - first + 1));
}

// A table created with the fields that were read reopens with them.
void structure_pass(Workspace& ws) {
  std::vector<FieldDescriptor> read;
  {
    auto t = open(ws.files(), "t", false, true);
    if (!t) return;
    read = t->fields();
  }
  std::vector<FieldSpec> specs;
  for (const FieldDescriptor& f : read) {
    if (f.type != 'C' && f.type != 'N' && f.type != 'F' && f.type != 'D' && f.type != 'L' && f.type != 'M') return;
    specs.push_back({f.name, f.type, f.width, f.decimals});
  }
  TableError error;
  if (!Table::create(ws.files(), "c", specs, error)) return;
  auto c = open(ws.files(), "c", false, false);
  require(c != nullptr, "a created table opens");
  require(c->record_count() == 0 && ws.size_of("c.dbf") == static_cast<std::uint64_t>(c->header_length()) + 1,
          "a created table is its header and the end marker");
  require(c->fields().size() == read.size(), "a created table has the fields it was given");
  for (std::size_t i = 0; i < read.size(); ++i) {
    const FieldDescriptor& want = read[i];
    const FieldDescriptor& got = c->fields()[i];
    require(got.name == trimmed(want.name) && got.type == want.type, "created field names and types");
    if (want.type == 'C' || want.type == 'N' || want.type == 'F')
      require(got.width == want.width && got.decimals == want.decimals, "created field widths");
  }
}

// Assigns every field of the current record; text and memo fields must
// read back what was stored.
void change_fields(Table& t, Picker& p) {
  for (int f = 0; f < t.field_count(); ++f) {
    const FieldDescriptor& d = t.fields()[static_cast<std::size_t>(f)];
    const Value v = value_for(d, p);
    if (!t.put(f, v) || !v.is_text()) continue;
    Value back;
    if (!t.get(f, back) || !sound()) continue;
    if (d.type == 'C') {
      std::string want = v.text().substr(0, static_cast<std::size_t>(d.width));
      want.resize(static_cast<std::size_t>(d.width), ' ');
      require(back.text() == want, "a text field reads back what was stored");
    } else if (d.type == 'M') {
      require(back.text() == v.text(), "a memo field reads back what was stored");
    }
  }
}

// Stands in for the table's index list: looks at the record as an index
// would, checks what it is told, and now and then refuses (as a failed index
// write does), which counts as an injected fault.
class CheckingObserver final : public RecordObserver {
 public:
  CheckingObserver(Picker& p, FaultBudget& faults) : p_(p), faults_(faults) {}

  void before_first_change(Table& table) override {
    std::string_view record;
    if (table.record_bytes(record) && sound())
      require(record.size() == static_cast<std::size_t>(table.record_length()),
              "before a change the record is readable");
  }
  bool record_written(Table& table, std::uint32_t recno, bool) override {
    if (sound()) require(recno >= 1 && recno <= table.record_count(), "a written record exists");
    return answer();
  }
  bool table_rewritten(Table&) override { return answer(); }

 private:
  bool answer() {
    if (p_.byte() % 16 != 0) return true;
    faults_.note_injected();
    return false;
  }
  Picker& p_;
  FaultBudget& faults_;
};

void exclusive_pass(Workspace& ws, const FuzzInput& input, Picker& p) {
  // Declared before the table, which tells it about the writes of its close.
  CheckingObserver observer(p, ws.faults());
  ws.faults().arm(input.fault_setting());
  auto t = open(ws.files(), "t", false, false);
  if (!t) {
    ws.faults().disarm();
    return;
  }
  t->set_observer(&observer);

  const Walk before = walk(*t);
  const bool packed = t->pack();
  if (sound() && before.complete()) {
    require(packed, "pack of a sound table succeeds");
    require(t->record_count() == before.live, "pack keeps the live records");
    const Walk after = walk(*t);
    require(after.live == after.count, "pack leaves no deleted record");
  }

  const std::uint32_t count = t->record_count();
  const std::uint32_t changed = input.many_changes() ? 32 : 4;
  for (std::uint32_t n = 1; n <= count && n <= changed; ++n) {
    t->go_to(n);
    change_fields(*t, p);
    if (p.byte() % 3 == 0) t->delete_record();
    if (p.byte() % 5 == 0) t->recall();
  }
  const bool appended = t->append();
  if (sound()) require(appended && t->record_count() == count + 1, "an exclusive append adds one record");
  change_fields(*t, p);
  t->go_to(1);
  if (input.zap()) {
    const bool zapped = t->zap();
    if (sound()) require(zapped && t->record_count() == 0, "zap empties the table");
    t->append();
    change_fields(*t, p);
  }
  const std::uint32_t final_count = t->record_count();
  const bool committed = t->commit();
  if (sound()) require(committed && t->record_count() == final_count, "commit keeps the records");
  const bool closed = t->close();
  const bool written_soundly = sound();
  ws.faults().disarm();
  if (!written_soundly) return;
  require(closed, "close without faults succeeds");

  // What the engine wrote: the header count, the end marker, and it opens.
  auto again = open(ws.files(), "t", false, false);
  require(again != nullptr, "a table the engine wrote reopens");
  require(again->record_count() == final_count, "the reopened table has the records that were written");
  require(ws.size_of("t.dbf") ==
              static_cast<std::uint64_t>(again->header_length()) +
                  static_cast<std::uint64_t>(again->record_length()) * final_count + 1,
          "an exclusive close leaves the records and the end marker");
  require(ws.header_count("t.dbf") == final_count, "the header holds the record count");
  walk(*again);
}

}  // namespace
}  // namespace intra::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace intra::fuzz;
  static Workspace& ws = Workspace::instance();
  const auto input = FuzzInput::parse(data, size);
  if (!input) return -1;  // too short to say anything: not worth keeping
  const std::string_view all(reinterpret_cast<const char*>(data), size);

  Picker picker(all);
  ws.write("t", input->table(), input->memo());
  read_only_pass(ws, picker);
  ws.write("t", input->table(), input->memo());
  shared_pass(ws, picker);
  ws.write("t", input->table(), input->memo());
  structure_pass(ws);
  ws.write("t", input->table(), input->memo());
  exclusive_pass(ws, *input, picker);
  return 0;
}
