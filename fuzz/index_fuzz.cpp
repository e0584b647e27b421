// Fuzz target of the index engine: whatever an index file holds, opening,
// walking, seeking, checking, changing, rebuilding and emptying it, and
// using it as a table's index, must never crash, hang, walk without end
// or allocate absurd amounts of memory; a damaged file is "Corruption
// detected", and a tree the engine changed itself stays whole.
//
// Build and run (clang only):
//   bash fuzz/run_index_fuzz.sh [build-dir] [seconds]
// or by hand:
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DINTRASTAT_FUZZ=ON -DINTRASTAT_TESTS=OFF
//   cmake --build build-fuzz --target index_fuzz -j2
//   mkdir -p /tmp/index-corpus && cp fuzz/corpus/index/* /tmp/index-corpus/
//   build-fuzz/fuzz/index_fuzz -max_total_time=60 /tmp/index-corpus
// (the first corpus directory receives new inputs: give a copy, not the
// seed directory of the repository). One input: build-fuzz/fuzz/index_fuzz FILE.
// The seeds come from build-fuzz/fuzz/make_index_seeds fuzz/corpus/index.
//
// Input layout (index_fuzz_input.h): 1 control byte, then the index file
// x.ntx. The control byte chooses an I/O fault in the changing passes,
// shared or exclusive use of the table pass and how many changes are made.
// Every pass starts from a fresh copy of the input's index file beside a
// fixed valid table t.dbf (index_fuzz_table.h), made once per process:
//   1. reading, shared and then exclusive read-only: first/next and
//      last/prev walks, a walk through for_each, check(), seeks and finds;
//   2. changing, exclusive: insertions and deletions through update(),
//      followed through a model of the entries, then closed and reopened;
//   3. rebuilding, exclusive: rebuild from keys the input chooses, zap,
//      an insertion into the emptied tree;
//   4. the table: IndexList::add compiles the stored key text against the
//      table, a cursor walks, skips and seeks in index order, records are
//      changed and appended (their keys move in the tree), and with
//      exclusive use the table is packed (the index is rebuilt from the
//      table) or zapped.
// Invariants are checked only where no fault was injected. Where check()
// finds the file whole, the walks, seeks and finds must agree with each
// other and with the order of the keys; the changing passes must leave a
// whole tree whole. A broken invariant aborts with a message, which the
// fuzzer reports like a crash.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_workspace.h"
#include "index_fuzz_input.h"
#include "index_fuzz_table.h"
#include "main/date.h"
#include "main/value.h"
#include "storage/index_list.h"
#include "storage/ntx_index.h"
#include "storage/ntx_key_order.h"
#include "storage/table.h"
#include "storage/table_cursor.h"

namespace intra::fuzz {
namespace {

// Bounds the work of a for_each walk per input (the engine bounds it too).
constexpr std::uint32_t kMaxSteps = 4096;
// Items whose find() is checked in a whole tree.
constexpr std::size_t kCheckedFinds = 24;

bool sound() { return !Workspace::instance().faults().fired(); }

void require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "index_fuzz: invariant broken: %s\n", what);
  std::abort();
}

// An invariant whose evaluation reads the file may itself meet an injected
// fault: it is judged only when no fault has been injected up to its end.
void require_sound(bool condition, const char* what) {
  if (sound()) require(condition, what);
}

// Without an injected fault a failing call has met a damaged file: its
// error is Corruption, never a crash, a read error of a readable file or
// a lock this process cannot get.
void require_corruption(const TableError& error) {
  if (!sound() || !error) return;
  if (error.kind != TableErrorKind::Corruption) {
    std::fprintf(stderr, "index_fuzz: unexpected error: %s\n", error.message().c_str());
    std::abort();
  }
}

// Values steered by the input's own bytes.
class Picker {
 public:
  explicit Picker(std::string_view source) : source_(source) {}
  std::uint8_t byte() {
    if (source_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(source_[at_ % source_.size()]);
    ++at_;
    return b;
  }
  std::string bytes(std::size_t length) {
    std::string s(length, ' ');
    for (char& c : s) c = static_cast<char>(byte());
    return s;
  }
  std::uint32_t recno() {
    const std::uint8_t b = byte();
    return b < 250 ? 1u + b % 40 : 0xFFFFFFF0u + b % 16;
  }

 private:
  std::string_view source_;
  std::size_t at_ = 0;
};

struct Entry {
  std::string key;
  std::uint32_t recno = 0;
  friend bool operator==(const Entry&, const Entry&) = default;
  friend bool operator<(const Entry& a, const Entry& b) {
    return a.key != b.key ? a.key < b.key : a.recno < b.recno;
  }
};

// ------------------------------------------------------------------ files

void write_file(const std::filesystem::path& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) {
    std::perror(path.c_str());
    std::abort();
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) {
      std::perror(path.c_str());
      std::abort();
    }
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
}

std::string read_file(const std::filesystem::path& path) {
  std::string bytes;
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return bytes;
  char buffer[4096];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) bytes.append(buffer, static_cast<std::size_t>(n));
  ::close(fd);
  return bytes;
}

// The fixed table's bytes, made by the engine once per process.
const std::string& fixed_table_bytes(Workspace& ws) {
  static const std::string bytes = [&] {
    TableError error;
    if (!make_index_table(ws.files(), "t", fixed_index_table_rows(), error)) {
      std::fprintf(stderr, "index_fuzz: cannot make the table: %s\n", error.message().c_str());
      std::abort();
    }
    return read_file(ws.directory() / "t.dbf");
  }();
  return bytes;
}

// A fresh copy of the input's index and of the fixed table.
void lay_out(Workspace& ws, const IndexFuzzInput& input) {
  write_file(ws.directory() / "t.dbf", fixed_table_bytes(ws));
  write_file(ws.directory() / "x.ntx", input.index());
  std::error_code ec;
  std::filesystem::remove(ws.directory() / "t.dbt", ec);
}

std::uint64_t size_of(Workspace& ws, const char* file) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(ws.directory() / file, ec);
  return ec ? 0 : static_cast<std::uint64_t>(size);
}

std::unique_ptr<NtxIndex> open_index(Workspace& ws, bool shared, bool read_only) {
  TableError error;
  auto index = NtxIndex::open(ws.files(), "x", shared, read_only, error);
  if (!index) require_corruption(error);
  return index;
}

// ------------------------------------------------------------------ walks

struct Walk {
  std::vector<Entry> entries;
  bool ended = false;  // reached the end without an error or the step bound
};

Entry current(const NtxIndex& x) {
  require(x.current_key().size() == static_cast<std::size_t>(x.key_size()), "a current key has the key size");
  return {x.current_key(), x.current_recno()};
}

// The steps within which the engine ends any walk along one path: more
// steps than the file has item slots are Corruption, found out at a look
// at the file size every 4096 steps. A damaged tree whose pages share
// subtrees would otherwise lead a walk on and on, each step valid.
std::uint64_t walk_limit(Workspace& ws, const NtxIndex& x) {
  const std::uint64_t slots = (size_of(ws, "x.ntx") / 1024 + 1) * static_cast<std::uint64_t>(x.max_keys() + 1);
  return (slots / 4096 + 2) * 4096;
}

Walk walk(Workspace& ws, NtxIndex& x, bool forward) {
  Walk w;
  const std::uint64_t limit = walk_limit(ws, x);
  bool on = forward ? x.first() : x.last();
  for (std::uint64_t steps = 0; on; ++steps) {
    require(steps < limit, "a walk through any file ends");
    w.entries.push_back(current(x));
    on = forward ? x.next() : x.prev();
  }
  require_corruption(x.error());
  w.ended = !x.error();
  if (w.ended) require(forward ? x.eof() : x.bof(), "a walk ends at its end of the index");
  return w;
}

Walk walk_for_each(NtxIndex& x) {
  Walk w;
  const bool ok = x.for_each([&](const KeyEntry& e) {
    w.entries.push_back({e.key, e.recno});
    return w.entries.size() < kMaxSteps;
  });
  if (!ok) require_corruption(x.error());
  w.ended = ok && w.entries.size() < kMaxSteps;
  return w;
}

// Whether check() finds the file whole.
bool whole(NtxIndex& x) { return x.check().empty(); }

// Whether the header's page geometry is the one the key size gives: a
// tree the engine builds or changes in a file with another geometry keeps
// it, and check() goes on reporting it, so such a file is never whole.
bool regular_geometry(const IndexFuzzInput& input, const NtxIndex& x) {
  const std::string_view header = input.index();
  if (header.size() < 22) return false;
  const int half = static_cast<unsigned char>(header[20]) | static_cast<unsigned char>(header[21]) << 8;
  return x.max_keys() == ntx_max_keys_for(x.key_size()) && half == x.max_keys() / 2;
}

// Keys of a whole tree follow its order (strictly in a unique index).
void require_ordered(const NtxIndex& x, const std::vector<Entry>& entries) {
  const NtxKeyOrder order(x.key_size(), x.definition().descending);
  for (std::size_t i = 1; i < entries.size(); ++i) {
    const int c = order.compare_stored(reinterpret_cast<const unsigned char*>(entries[i - 1].key.data()),
                                       reinterpret_cast<const unsigned char*>(entries[i].key.data()));
    if (c < 0 || (c == 0 && !x.definition().unique)) continue;
    std::fprintf(stderr, "index_fuzz: entry %zu (record %u) then entry %zu (record %u) of %zu\n", i - 1,
                 entries[i - 1].recno, i, entries[i].recno, entries.size());
    require(c <= 0, "a whole tree's keys follow its order");
    require(false, "a whole unique tree holds each key once");
  }
}

// ------------------------------------------------------------------ reading

// The search keys of the reading pass: keys of the tree whole and cut
// short, keys from the input, and the extremes.
std::vector<std::string> search_keys(const NtxIndex& x, const std::vector<Entry>& entries, Picker& p) {
  std::vector<std::string> keys;
  const auto size = static_cast<std::size_t>(x.key_size());
  for (std::size_t i = 0; i < entries.size() && keys.size() < 6; i += 1 + entries.size() / 5) {
    keys.push_back(entries[i].key);
    keys.push_back(entries[i].key.substr(0, 1 + p.byte() % size));
  }
  for (int i = 0; i < 3; ++i) keys.push_back(p.bytes(1 + p.byte() % size));
  keys.emplace_back();
  keys.push_back(std::string(size, '\xFF'));
  keys.push_back(std::string(size + 3, ' '));
  return keys;
}

// In a whole tree a seek lands on the first entry, in walking order, not
// before the search key over the search key's length.
void check_seek(NtxIndex& x, const std::vector<Entry>& entries, const std::string& key, bool checked) {
  bool found = false;
  const bool on = x.seek(key, found);
  if (!on) require_corruption(x.error());
  if (!checked) return;
  require(!x.error(), "a seek in a whole tree succeeds");
  const NtxKeyOrder order(x.key_size(), x.definition().descending);
  const std::string_view search = std::string_view(key).substr(0, static_cast<std::size_t>(x.key_size()));
  const auto expected = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) {
    return order.compare_prefix(reinterpret_cast<const unsigned char*>(e.key.data()), search) >= 0;
  });
  if (expected == entries.end()) {
    require(!on && x.eof() && !found, "a seek past every key ends at the end");
    return;
  }
  require(on && current(x) == *expected, "a seek lands on the first key not before the search key");
  const bool begins = order.compare_prefix(reinterpret_cast<const unsigned char*>(expected->key.data()), search) == 0;
  require(found == begins, "a seek is found when the key begins with the search key");
  // One step on and back returns to the same item.
  if (x.next()) {
    require(x.prev() && current(x) == *expected, "next then prev returns to the same key");
  } else {
    require(!x.error() && x.eof() && expected + 1 == entries.end(), "next after the last key ends");
  }
}

// Opens, walks both ways and through for_each, checks, seeks and finds;
// returns whether the file was whole, and its entries in order then.
bool reading_pass(Workspace& ws, Picker& p, bool shared, std::vector<Entry>& entries) {
  auto x = open_index(ws, shared, !shared);
  if (!x) return false;
  (void)x->order_name();
  const Walk forward = walk(ws, *x, true);
  const Walk backward = walk(ws, *x, false);
  const Walk visited = walk_for_each(*x);
  const bool checked = whole(*x) && forward.ended && backward.ended && visited.ended;
  if (checked) {
    require(visited.entries == forward.entries, "for_each visits what first/next visits");
    std::vector<Entry> reversed(backward.entries.rbegin(), backward.entries.rend());
    require(reversed == forward.entries, "last/prev visits the first/next walk backwards");
    require_ordered(*x, forward.entries);
    entries = forward.entries;
  }
  for (const std::string& key : search_keys(*x, forward.entries, p)) check_seek(*x, forward.entries, key, checked);
  const std::size_t stride = 1 + forward.entries.size() / kCheckedFinds;
  for (std::size_t i = 0; i < forward.entries.size(); i += stride) {
    const Entry& e = forward.entries[i];
    const bool on = x->find(e.key, e.recno);
    if (!on) require_corruption(x->error());
    if (checked) require(on && current(*x) == e, "every item of a whole tree is found by key and record");
  }
  if (!x->find(p.bytes(static_cast<std::size_t>(x->key_size())), 0xFFFFFFFFu)) require_corruption(x->error());
  if (!shared) {
    bool missing = false;
    require(!x->update(std::nullopt, std::string("k"), 1, missing), "a read-only index refuses an update");
    require(!x->rebuild([](KeyEntry&) { return false; }) && !x->zap(), "a read-only index refuses rebuild and zap");
  }
  require(x->close(), "closing an index that was only read succeeds");
  return checked;
}

// ------------------------------------------------------------------ changing

// The entries a whole tree must hold after the changes: a multiset of
// (key, record) pairs, keys padded or cut to the key size.
class Model {
 public:
  Model(std::vector<Entry> entries, int key_size, bool unique)
      : entries_(std::move(entries)), key_size_(static_cast<std::size_t>(key_size)), unique_(unique) {}
  std::string normalized(const std::string& key) const {
    std::string out = key.substr(0, key_size_);
    out.resize(key_size_, ' ');
    return out;
  }
  // Whether the pair was there (and is gone now).
  bool remove(const std::string& key, std::uint32_t recno) {
    const Entry e{normalized(key), recno};
    const auto it = std::find(entries_.begin(), entries_.end(), e);
    if (it == entries_.end()) return false;
    entries_.erase(it);
    return true;
  }
  void insert(const std::string& key, std::uint32_t recno) {
    const std::string k = normalized(key);
    if (unique_ && std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.key == k; })) return;
    entries_.push_back({k, recno});
  }
  std::vector<Entry> sorted() const {
    std::vector<Entry> out = entries_;
    std::sort(out.begin(), out.end());
    return out;
  }
  const std::vector<Entry>& entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;
  std::size_t key_size_;
  bool unique_;
};

std::string pick_key(Picker& p, const Model& model, std::size_t key_size) {
  const auto& entries = model.entries();
  switch (p.byte() % 4) {
    case 0:
      if (!entries.empty()) return entries[p.byte() % entries.size()].key;
      [[fallthrough]];
    case 1: return p.bytes(key_size);
    case 2: return p.bytes(1 + p.byte() % key_size);
    default: return std::string(p.byte() % 2 == 0 ? key_size : 1, static_cast<char>(p.byte() % 2 == 0 ? ' ' : '\xFF'));
  }
}

// The tree holds exactly the model's entries, whole. A failure tells what
// check() found and how the entries differ, for the reproducer's report.
void require_model(NtxIndex& x, const Model& model, const char* what) {
  const std::vector<std::string> problems = x.check();
  Walk w = walk_for_each(x);
  if (!sound()) return;
  if (problems.empty() && w.ended) require_ordered(x, w.entries);
  std::sort(w.entries.begin(), w.entries.end());
  const std::vector<Entry> expected = model.sorted();
  if (problems.empty() && w.ended && w.entries == expected) return;
  for (const std::string& problem : problems) std::fprintf(stderr, "index_fuzz: check: %s\n", problem.c_str());
  std::fprintf(stderr, "index_fuzz: %zu entries in the tree (walk %s), %zu expected\n", w.entries.size(),
               w.ended ? "ended" : "cut", expected.size());
  require(false, what);
}

void changing_pass(Workspace& ws, const IndexFuzzInput& input, Picker& p, bool was_whole,
                   const std::vector<Entry>& entries) {
  ws.faults().arm(input.fault_setting());
  auto x = open_index(ws, false, false);
  if (!x) {
    ws.faults().disarm();
    return;
  }
  const auto key_size = static_cast<std::size_t>(x->key_size());
  Model model(entries, x->key_size(), x->definition().unique);
  bool checked = was_whole;
  const int changes = input.many_changes() ? 32 : 4;
  for (int i = 0; i < changes; ++i) {
    // 0 inserts, 1 deletes, 2 moves a record's key; deletions and moves
    // mostly take an item the tree holds, now and then one it does not.
    const std::uint8_t what = p.byte() % 3;
    std::optional<std::string> old_key;
    std::optional<std::string> new_key;
    std::uint32_t recno = p.recno();
    if (what != 0) {
      if (!model.entries().empty() && p.byte() % 4 != 0) {
        const Entry& e = model.entries()[p.byte() % model.entries().size()];
        old_key = e.key;
        recno = e.recno;
      } else {
        old_key = pick_key(p, model, key_size);
      }
    }
    if (what != 1) new_key = pick_key(p, model, key_size);
    bool missing = false;
    const bool ok = x->update(old_key, new_key, recno, missing);
    if (!ok) require_corruption(x->error());
    if (!sound() || !ok) checked = false;
    if (!checked) continue;
    if (old_key) require(missing == !model.remove(*old_key, recno), "a deletion tells whether the key was there");
    if (new_key) model.insert(*new_key, recno);
    if (i % 8 == 7 || i + 1 == changes) require_model(*x, model, "changes keep a whole tree whole and exact");
  }
  const bool closed = x->close();
  const bool written_soundly = sound();
  ws.faults().disarm();
  if (!written_soundly) {
    // Whatever a failed write left behind is read without harm.
    if (auto again = open_index(ws, false, true)) {
      (void)again->check();
      walk(ws, *again, true);
    }
    return;
  }
  require(closed, "closing after sound changes succeeds");
  if (!checked) return;
  auto again = open_index(ws, false, true);
  require(again != nullptr, "a changed index reopens");
  require_model(*again, model, "the changes are in the file");
}

// ------------------------------------------------------------------ rebuilding

void rebuilding_pass(Workspace& ws, const IndexFuzzInput& input, Picker& p) {
  ws.faults().arm(input.fault_setting());
  auto x = open_index(ws, false, false);
  if (!x) {
    ws.faults().disarm();
    return;
  }
  const auto key_size = static_cast<std::size_t>(x->key_size());
  const std::size_t count = p.byte() % (input.many_changes() ? 200 : 40);
  std::vector<Entry> source;
  Model model({}, x->key_size(), x->definition().unique);
  for (std::size_t i = 0; i < count; ++i) {
    std::string key = pick_key(p, model, key_size);
    source.push_back({key, static_cast<std::uint32_t>(i + 1)});
    model.insert(key, static_cast<std::uint32_t>(i + 1));
  }
  std::size_t next = 0;
  const bool rebuilt = x->rebuild([&](KeyEntry& out) {
    if (next == source.size()) return false;
    out.key = source[next].key;
    out.recno = source[next].recno;
    ++next;
    return true;
  });
  if (!rebuilt) require_corruption(x->error());
  const bool regular = regular_geometry(input, *x);
  if (sound()) {
    require(rebuilt, "a rebuild without faults succeeds");
    if (regular) require_model(*x, model, "a rebuild holds its source's keys, whole");
    // Equal keys in record order, the first of them in a unique index.
    const Walk w = walk(ws, *x, true);
    for (std::size_t i = 1; i < w.entries.size(); ++i)
      if (w.entries[i - 1].key == w.entries[i].key)
        require_sound(w.entries[i - 1].recno < w.entries[i].recno, "a rebuild keeps equal keys in record order");
  }
  const bool zapped = x->zap();
  if (!zapped) require_corruption(x->error());
  if (sound()) {
    require(zapped, "zap without faults succeeds");
    require(size_of(ws, "x.ntx") == 2048, "an emptied index is its header and one page");
    if (regular) require_sound(whole(*x), "zap leaves a whole empty tree");
    require_sound(!x->first() && !x->error() && x->eof() && x->bof(), "an emptied index has no key");
  }
  bool missing = false;
  const std::string key = p.bytes(key_size);
  const bool inserted = x->update(std::nullopt, key, 7, missing);
  if (!inserted) require_corruption(x->error());
  if (sound()) {
    Model one({}, x->key_size(), false);
    one.insert(key, 7);
    require(inserted, "an insertion into an emptied tree succeeds");
    if (regular) require_model(*x, one, "an emptied tree takes a key");
  }
  x->close();
  ws.faults().disarm();
}

// ------------------------------------------------------------------ the table

// A value of the index's key type for a seek.
Value seek_value(const IndexList::Entry& e, Picker& p) {
  switch (e.shape.type) {
    case KeyType::Numeric: return Value(static_cast<double>(static_cast<std::int8_t>(p.byte())) * 2.5);
    case KeyType::Date: return Value(Date::from_ymd(2024, 5, 1 + p.byte() % 8));
    case KeyType::Logical: return Value(p.byte() % 2 == 0);
    case KeyType::Character: break;
  }
  static const char* const kTexts[] = {"A", "B1", "towar", "TOWAR 3", "", "\xFF"};
  return Value(std::string(kTexts[p.byte() % 6]));
}

// Changes the fields the fixed table's keys are made of.
void change_record(Table& t, Picker& p) {
  const auto& rows = fixed_index_table_rows();
  const IndexTableRow& r = rows[p.byte() % rows.size()];
  t.put(0, Value(r.indeks));
  t.put(1, Value(p.byte() % 2 == 0 ? -r.ilosc : r.ilosc + 1));
  t.put(2, Value(p.byte() % 4 == 0 ? Date() : r.data.plus_days(p.byte() % 9)));
  t.put(3, Value(r.nazwa));
  t.put(4, Value(p.byte() % 2 == 0));
}

void table_pass(Workspace& ws, const IndexFuzzInput& input, Picker& p, bool was_whole) {
  const bool shared = input.shared_table();
  ws.faults().arm(input.fault_setting());
  TableError error;
  auto t = Table::open(ws.files(), "t", OpenOptions{shared, false}, error);
  if (!t) {
    require(!sound(), "the fixed table opens");
    ws.faults().disarm();
    return;
  }
  {
    IndexList indexes(*t, "t");
    indexes.set_message_sink([](std::string_view) {});
    if (!indexes.add("x")) {
      require_corruption(indexes.error());
      ws.faults().disarm();
      return;
    }
    NtxIndex& x = indexes.index(0);
    TableCursor cursor(*t, indexes);
    require(cursor.set_order(1), "the added index can control the order");
    cursor.set_deleted_hidden(p.byte() % 2 == 0);
    // Every cursor call below may fail on a damaged tree or an injected
    // fault; what matters is that each ends, and how it fails.
    auto settle = [&](bool ok) {
      if (!ok) require_corruption(cursor.error());
      if (!cursor.eof()) {
        Value v;
        t->get(0, v);
      }
    };
    settle(cursor.go_top());
    for (std::uint32_t i = 0; i < 64 && !cursor.eof(); ++i) settle(cursor.skip(1));
    settle(cursor.go_bottom());
    for (std::uint32_t i = 0; i < 8 && !cursor.bof() && !cursor.eof(); ++i) settle(cursor.skip(-1));
    for (int i = 0; i < 4; ++i) settle(cursor.seek(seek_value(indexes.entry(0), p), p.byte() % 2 == 0));

    const int changes = input.many_changes() ? 8 : 2;
    for (int i = 0; i < changes; ++i) {
      if (p.byte() % 3 == 0) {
        if (!t->append()) continue;
      } else {
        const std::uint32_t n = 1 + p.byte() % t->record_count();
        settle(cursor.go_to(n));
        if (shared && !t->lock_record(n)) continue;
      }
      change_record(*t, p);
      // The record goes cold: its keys move in the tree.
      settle(cursor.skip(1));
      if (!t->unlock_all()) require_corruption(t->error() ? t->error() : indexes.error());
    }
    if (was_whole) require_sound(whole(x), "records going cold keep a whole tree whole");

    if (!shared) {
      const bool zap = p.byte() % 4 == 0;
      const bool rewritten = zap ? t->zap() : t->pack();
      if (!rewritten) require_corruption(t->error() ? t->error() : indexes.error());
      if (sound()) {
        require(rewritten, "pack and zap of the indexed table succeed");
        if (regular_geometry(input, x)) require_sound(whole(x), "pack and zap leave a whole tree");
        const Walk w = walk_for_each(x);
        std::uint32_t passing = 0;
        for (std::uint32_t n = 1; n <= t->record_count(); ++n) {
          t->go_to(n);
          passing += indexes.current_passes(0) ? 1 : 0;
        }
        require_sound(w.ended, "a rebuilt index is walked to its end");
        if (x.definition().unique)
          require_sound(w.entries.size() <= passing, "a rebuilt unique index holds at most every record that passes");
        else
          require_sound(w.entries.size() == passing, "a rebuilt index holds every record that passes");
      }
    }
    indexes.close_all();
  }
  t->close();
  ws.faults().disarm();
}

}  // namespace
}  // namespace intra::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace intra::fuzz;
  static Workspace& ws = Workspace::instance();
  const auto input = IndexFuzzInput::parse(data, size);
  if (!input) return -1;
  Picker picker(std::string_view(reinterpret_cast<const char*>(data), size));

  std::vector<Entry> entries;
  lay_out(ws, *input);
  bool was_whole = reading_pass(ws, picker, true, entries);
  lay_out(ws, *input);
  std::vector<Entry> again;
  was_whole = reading_pass(ws, picker, false, again) && was_whole;
  if (was_whole) require(again == entries, "shared and exclusive opens read the same tree");
  lay_out(ws, *input);
  changing_pass(ws, *input, picker, was_whole, entries);
  lay_out(ws, *input);
  rebuilding_pass(ws, *input, picker);
  lay_out(ws, *input);
  table_pass(ws, *input, picker, was_whole);
  return 0;
}
