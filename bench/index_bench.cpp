// Index engine benchmark: building an index over a month's stock table,
// seeking through it, and appending to a table that other stations share
// while its three indexes follow every record.
//
// Usage (from the repository; build-ibench is a RelWithDebInfo build):
//   build-ibench/bench/index_bench build  [--records N] [--runs R] [--dir D] [--no-fill] [--no-sort]
//   build-ibench/bench/index_bench seek   [--records N] [--seeks N] [--runs R] [--dir D]
//                                         [--only exclusive|shared] [--no-fill]
//   build-ibench/bench/index_bench append [--count N] [--runs R] [--dir D]
//   build-ibench/bench/index_bench fill   [--records N] --dir D
// --figures-only leaves out the diagnostic figures and the check of the
// built index (for counting the system calls of the figures alone).
//
//   build   writes a table of N records (default 1,000,000) with a random
//           8-character INDEKS (not timed) and times IndexList::create on
//           INDEKS: the table read, the key evaluation, the sort and the
//           page writes. In the same run the same keys, written as text
//           lines to a file beforehand, are sorted by `LC_ALL=C sort` into
//           /dev/null; only the sort command is timed. The goal is a build
//           in at most half the time of the sort. A diagnostic figure
//           follows: the build from keys already in memory (sort and pages
//           only), so the rest is the table read and the key evaluation.
//   seek    N (default 1,000,000) seeks of existing keys in random order
//           through TableCursor::seek, each followed by a field read, so
//           the record read a seek implies happens. Exclusive and shared
//           opens are timed apart; every page is in the cache before the
//           timing starts (one walk through the index). Diagnostics: the
//           index seek alone and the record reads alone.
//   append  N (default 100,000) shared appends to an empty table with
//           three indexes open (INDEKS, a numeric ILOSC with negative
//           values, DTOS(DATA)+INDEKS), each followed by three puts; the
//           record goes cold, and its keys enter the indexes, at the next
//           append. Diagnostic: the same appends without indexes.
//   fill    only writes the table and its INDEKS index into D (for
//           bench/run_index_bench.sh, which counts system calls with the
//           files prepared beforehand).
//
// Each figure is the best of R runs (default 3): the machine is shared, the
// best run is the one least disturbed. Beside it stands the processor time
// of that run (of the sort's process for the sort): far below the elapsed
// time, the run waited for a processor or for the disk. Seeks check that every record they
// reach has the key they looked for, appends that every index ends up with
// one key per record, so no figure comes from work that went wrong.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "bench_support.h"
#include "main/date.h"
#include "main/value.h"
#include "storage/field_codec.h"
#include "storage/file_system.h"
#include "storage/index_list.h"
#include "storage/ntx_index.h"
#include "storage/table.h"
#include "storage/table_cursor.h"

extern char** environ;

namespace intra::bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kStockTable = "stock";
constexpr const char* kStockIndex = "stock_in";
constexpr const char* kMovesTable = "ruch";
constexpr int kKeyLength = 8;

// The month's stock table; INDEKS is what the build and the seeks key on.
const std::vector<FieldSpec>& stock_fields() {
  static const std::vector<FieldSpec> fields = {
      {"INDEKS", 'C', kKeyLength, 0}, {"NAZWA", 'C', 30, 0}, {"ILOSC", 'N', 12, 3}, {"DATA", 'D', 8, 0}};
  return fields;
}

// The movements table of the appends and its three indexes.
const std::vector<FieldSpec>& moves_fields() {
  static const std::vector<FieldSpec> fields = {{"INDEKS", 'C', 10, 0}, {"ILOSC", 'N', 8, 2}, {"DATA", 'D', 8, 0}};
  return fields;
}

struct MovesIndex {
  const char* file;
  const char* key;
};
const std::vector<MovesIndex>& moves_indexes() {
  static const std::vector<MovesIndex> indexes = {
      {"ruch_ind", "INDEKS"}, {"ruch_il", "ILOSC"}, {"ruch_dt", "DTOS(DATA)+INDEKS"}};
  return indexes;
}

struct Options {
  std::string command;
  std::uint32_t records = 1'000'000;
  std::uint32_t seeks = 1'000'000;
  std::uint32_t appends = 100'000;
  int runs = 3;
  std::string dir;
  std::string only;  // "", "exclusive" or "shared"
  bool fill = true;
  bool sort = true;
  bool diagnostics = true;
};

[[noreturn]] void usage_error(const std::string& why) {
  std::fprintf(stderr,
               "index_bench: %s\n"
               "usage: index_bench build|seek|append|fill [--records N] [--seeks N] [--count N] [--runs R]\n"
               "                   [--dir D] [--only exclusive|shared] [--no-fill] [--no-sort] [--figures-only]\n",
               why.c_str());
  std::exit(2);
}

[[noreturn]] void die(const std::string& what, const TableError& error) {
  std::fprintf(stderr, "index_bench: %s: %s\n", what.c_str(), error.message().c_str());
  std::exit(1);
}

[[noreturn]] void die(const std::string& what) {
  std::fprintf(stderr, "index_bench: %s\n", what.c_str());
  std::exit(1);
}

Options parse_options(int argc, char** argv) {
  if (argc < 2) usage_error("no sub-benchmark given");
  Options o;
  o.command = argv[1];
  for (int i = 2; i < argc; ++i) {
    const std::string_view a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) usage_error(std::string(a) + " needs a value");
      return argv[++i];
    };
    auto number = [&]() -> std::uint32_t {
      const std::string v = value();
      char* end = nullptr;
      const unsigned long n = std::strtoul(v.c_str(), &end, 10);
      if (end == v.c_str() || *end != '\0' || n == 0 || n > 0xFFFFFFFFul) usage_error("bad number " + v);
      return static_cast<std::uint32_t>(n);
    };
    if (a == "--records") o.records = number();
    else if (a == "--seeks") o.seeks = number();
    else if (a == "--count") o.appends = number();
    else if (a == "--runs") o.runs = static_cast<int>(number());
    else if (a == "--dir") o.dir = value();
    else if (a == "--only") o.only = value();
    else if (a == "--no-fill") o.fill = false;
    else if (a == "--no-sort") o.sort = false;
    else if (a == "--figures-only") o.diagnostics = false;
    else usage_error("unknown option " + std::string(a));
  }
  if (o.command != "build" && o.command != "seek" && o.command != "append" && o.command != "fill")
    usage_error("unknown sub-benchmark " + o.command);
  if (!o.only.empty() && o.only != "exclusive" && o.only != "shared") usage_error("--only takes exclusive or shared");
  if (o.command == "fill" && o.dir.empty()) usage_error("fill needs --dir");
  return o;
}

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The processor time of this process (all its threads) so far: beside the
// elapsed time it tells how much of a run the machine's other load took.
double cpu_seconds() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// One timed run: elapsed and processor seconds.
struct Timing {
  double seconds = 0;
  double cpu = 0;
};

// Times `body` in this process.
template <class Body>
Timing timed(Body&& body) {
  const double cpu_start = cpu_seconds();
  const auto start = Clock::now();
  body();
  return {seconds_since(start), cpu_seconds() - cpu_start};
}

void report(const char* what, std::uint32_t count, const char* unit, const Timing& t) {
  std::printf("%s: %u %s in %.3f s = %.0f/s  (cpu %.3f s)\n", what, count, unit, t.seconds, count / t.seconds, t.cpu);
  std::fflush(stdout);
}

// The best (shortest elapsed) of `runs` calls of `once`.
Timing best_of(int runs, const std::function<Timing()>& once) {
  Timing best;
  for (int r = 0; r < runs; ++r) {
    const Timing t = once();
    if (r == 0 || t.seconds < best.seconds) best = t;
  }
  return best;
}

// ------------------------------------------------------------------ keys

// The INDEKS of record i (from 0): 8 upper-case letters and digits from a
// fixed random sequence, so every sub-benchmark regenerates the same keys
// without storing them. Equal keys are possible but rare (36^8 values).
class StockKeys {
 public:
  explicit StockKeys(std::uint32_t records) : bytes_(static_cast<std::size_t>(records) * kKeyLength, ' ') {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::mt19937_64 random(20240531);
    for (char& c : bytes_) c = kAlphabet[random() % 36];
  }
  std::string_view operator[](std::uint32_t i) const {
    return std::string_view(bytes_).substr(static_cast<std::size_t>(i) * kKeyLength, kKeyLength);
  }
  std::uint32_t size() const { return static_cast<std::uint32_t>(bytes_.size() / kKeyLength); }

 private:
  std::string bytes_;
};

// ------------------------------------------------------------------ filling

void stock_record(std::uint32_t i, std::string_view key, const std::vector<FieldDescriptor>& fields, char* out) {
  out[0] = ' ';
  put_text(out + fields[0].offset, kKeyLength, key);
  char text[40];
  std::snprintf(text, sizeof text, "TOWAR %u", i);
  put_text(out + fields[1].offset, 30, text);
  format_number_into((i % 100000) * 0.125, 12, 3, out + fields[2].offset);
  put_text(out + fields[3].offset, 8, Date::from_ymd(2024, 1, 1).plus_days(static_cast<int>(i % 366)).dtos());
}

void write_all(int fd, const char* data, std::size_t size, off_t at, const char* what) {
  while (size > 0) {
    const ssize_t n = ::pwrite(fd, data, size, at);
    if (n <= 0) {
      std::perror(what);
      std::exit(1);
    }
    data += n;
    size -= static_cast<std::size_t>(n);
    at += n;
  }
}

// Writes the stock table straight to its file: created empty by the
// engine, then the records in large writes, the end marker and the record
// count in the header, as an exclusive writer leaves it.
void fill_stock_table(PosixFileSystem& files, const StockKeys& keys) {
  TableError error;
  if (!Table::create(files, kStockTable, stock_fields(), error)) die("create", error);
  auto probe = Table::open(files, kStockTable, OpenOptions{false, true}, error);
  if (!probe) die("open", error);
  const std::vector<FieldDescriptor> fields = probe->fields();
  const auto header_length = static_cast<off_t>(probe->header_length());
  const auto record_length = static_cast<std::size_t>(probe->record_length());
  probe.reset();

  const fs::path path = files.resolve(Table::table_file_name(kStockTable));
  const int fd = ::open(path.c_str(), O_WRONLY);
  if (fd < 0) {
    std::perror(path.c_str());
    std::exit(1);
  }
  constexpr std::uint32_t kChunk = 32768;
  std::vector<char> chunk(kChunk * record_length);
  off_t at = header_length;
  const std::uint32_t records = keys.size();
  for (std::uint32_t first = 0; first < records; first += kChunk) {
    const std::uint32_t n = records - first < kChunk ? records - first : kChunk;
    for (std::uint32_t k = 0; k < n; ++k)
      stock_record(first + k, keys[first + k], fields, chunk.data() + k * record_length);
    write_all(fd, chunk.data(), n * record_length, at, "writing the stock table");
    at += static_cast<off_t>(n * record_length);
  }
  const char marker = 0x1A;
  write_all(fd, &marker, 1, at, "writing the stock table");
  const unsigned char count[4] = {static_cast<unsigned char>(records), static_cast<unsigned char>(records >> 8),
                                  static_cast<unsigned char>(records >> 16), static_cast<unsigned char>(records >> 24)};
  write_all(fd, reinterpret_cast<const char*>(count), 4, 4, "writing the stock table");
  ::close(fd);
}

std::unique_ptr<Table> open_or_die(PosixFileSystem& files, const char* name, bool shared) {
  TableError error;
  auto t = Table::open(files, name, OpenOptions{shared, false}, error);
  if (!t) die(std::string("open ") + name, error);
  return t;
}

// ------------------------------------------------------------------ build

// One bulk build of the INDEKS index through the table's index list.
Timing build_once(PosixFileSystem& files) {
  auto t = open_or_die(files, kStockTable, false);
  IndexList indexes(*t, kStockTable);
  const Timing timing = timed([&] {
    if (!indexes.create(kStockIndex, "INDEKS")) die("index create", indexes.error());
  });
  indexes.clear();
  return timing;
}

// The same tree from keys already in memory: the sort and the page writes
// without the table read and the key evaluation.
Timing build_from_keys_once(PosixFileSystem& files, const StockKeys& keys) {
  NtxDefinition d;
  d.key_expression = "INDEKS";
  d.key_size = kKeyLength;
  std::uint32_t next = 0;
  const KeySource source = [&](KeyEntry& out) {
    if (next >= keys.size()) return false;
    out.key.assign(keys[next]);
    out.recno = ++next;
    return true;
  };
  TableError error;
  std::unique_ptr<NtxIndex> index;
  const Timing timing = timed([&] {
    index = NtxIndex::create(files, "given", d, source, false, error);
    if (!index) die("index create from keys", error);
  });
  index.reset();
  files.remove("given.ntx");
  return timing;
}

// The keys as text lines, the input of the sort command.
fs::path write_key_lines(const fs::path& dir, const StockKeys& keys) {
  const fs::path path = dir / "keys.txt";
  std::string text;
  text.reserve(static_cast<std::size_t>(keys.size()) * (kKeyLength + 1));
  for (std::uint32_t i = 0; i < keys.size(); ++i) {
    text.append(keys[i]);
    text += '\n';
  }
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) {
    std::perror(path.c_str());
    std::exit(1);
  }
  write_all(fd, text.data(), text.size(), 0, "writing the key lines");
  ::close(fd);
  return path;
}

// `LC_ALL=C sort FILE` with its output to /dev/null; the time from the
// spawn to the end of the process, and the processor time of the sort
// (all its threads).
Timing sort_once(const fs::path& lines) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<std::string> env_strings = {"LC_ALL=C"};
  for (char** e = environ; *e != nullptr; ++e)
    if (std::strncmp(*e, "LC_ALL=", 7) != 0) env_strings.emplace_back(*e);
  std::vector<char*> env;
  for (std::string& s : env_strings) env.push_back(s.data());
  env.push_back(nullptr);
  std::string program = "sort";
  std::string file = lines.string();
  char* args[] = {program.data(), file.data(), nullptr};

  const auto start = Clock::now();
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, "sort", &actions, nullptr, args, env.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) die(std::string("cannot run sort: ") + std::strerror(rc));
  int status = 0;
  rusage usage{};
  if (::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) die("sort failed");
  const double seconds = seconds_since(start);
  auto of = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return {seconds, of(usage.ru_utime) + of(usage.ru_stime)};
}

void run_build(PosixFileSystem& files, const fs::path& dir, const Options& o) {
  const StockKeys keys(o.records);
  if (o.fill) {
    const auto start = Clock::now();
    fill_stock_table(files, keys);
    std::fprintf(stderr, "(filled %u records in %.3f s, not timed)\n", o.records, seconds_since(start));
  }
  const Timing build = best_of(o.runs, [&] { return build_once(files); });
  report("build", o.records, "keys", build);
  if (o.diagnostics) {
    auto t = open_or_die(files, kStockTable, false);
    IndexList indexes(*t, kStockTable);
    if (!indexes.add(kStockIndex)) die("index open", indexes.error());
    const std::vector<std::string> problems = indexes.index(0).check();
    if (!problems.empty()) die("the built index is damaged: " + problems.front());
  }
  if (o.diagnostics)
    report("  sort and pages only, keys given", o.records, "keys",
           best_of(o.runs, [&] { return build_from_keys_once(files, keys); }));
  if (!o.sort) return;
  const fs::path lines = write_key_lines(dir, keys);
  const Timing sort = best_of(o.runs, [&] { return sort_once(lines); });
  report("sort (LC_ALL=C sort, same keys)", o.records, "keys", sort);
  std::printf("build / sort: %.2f (goal at most 0.50)\n", build.seconds / sort.seconds);
  fs::remove(lines);
}

// ------------------------------------------------------------------ seek

void fill_stock_with_index(PosixFileSystem& files, const StockKeys& keys) {
  const auto start = Clock::now();
  fill_stock_table(files, keys);
  build_once(files);
  std::fprintf(stderr, "(filled %u records and built the index in %.3f s, not timed)\n", keys.size(),
               seconds_since(start));
}

// The area of one station: the table, its index list with the stock index
// controlling, a cursor.
struct StockArea {
  std::unique_ptr<Table> table;
  std::unique_ptr<IndexList> indexes;
  std::unique_ptr<TableCursor> cursor;

  StockArea(PosixFileSystem& files, bool shared) : table(open_or_die(files, kStockTable, shared)) {
    indexes = std::make_unique<IndexList>(*table, kStockTable);
    if (!indexes->add(kStockIndex)) die("index open", indexes->error());
    cursor = std::make_unique<TableCursor>(*table, *indexes);
    cursor->set_order(1);
    // Every page into the cache: the seeks measure searching, not first reads.
    std::uint32_t entries = 0;
    if (!indexes->index(0).for_each([&](const KeyEntry&) { return ++entries, true; }))
      die("index walk", indexes->index(0).error());
    if (entries != table->record_count()) die("the index does not hold one key per record");
  }
};

// The records to look for, in random order.
std::vector<std::uint32_t> seek_order(std::uint32_t seeks, std::uint32_t records) {
  std::mt19937 random(7);
  std::vector<std::uint32_t> order(seeks);
  for (std::uint32_t& i : order) i = static_cast<std::uint32_t>(random() % records);
  return order;
}

// Seeks every key of `order` and reads the field of the record reached.
Timing seeks_once(StockArea& a, const StockKeys& keys, const std::vector<std::uint32_t>& order) {
  std::string_view field;
  std::uint32_t misses = 0;
  const Timing timing = timed([&] {
    for (const std::uint32_t i : order) {
      const std::string_view key = keys[i];
      if (!a.cursor->seek(Value(key))) die("seek", a.cursor->error());
      if (!a.table->raw(0, field)) die("record read", a.table->error());
      misses += a.cursor->found() && field == key ? 0 : 1;
    }
  });
  if (misses != 0) die(std::to_string(misses) + " seeks did not reach a record with their key");
  return timing;
}

// The index seek alone, without positioning the table.
Timing index_seeks_once(StockArea& a, const StockKeys& keys, const std::vector<std::uint32_t>& order) {
  NtxIndex& index = a.indexes->index(0);
  bool found = false;
  std::uint32_t misses = 0;
  const Timing timing = timed([&] {
    for (const std::uint32_t i : order) {
      if (!index.seek(keys[i], found) && index.error()) die("index seek", index.error());
      misses += found ? 0 : 1;
    }
  });
  if (misses != 0) die("index seeks missed");
  return timing;
}

// The record reads alone: go_to and one field, in the same random order.
Timing record_reads_once(StockArea& a, const std::vector<std::uint32_t>& order) {
  std::string_view field;
  std::uint64_t sum = 0;
  const Timing timing = timed([&] {
    for (const std::uint32_t i : order) {
      a.table->go_to(i + 1);
      if (!a.table->raw(0, field)) die("record read", a.table->error());
      sum += static_cast<unsigned char>(field[0]);
    }
  });
  if (sum == 0) die("nothing read");
  return timing;
}

void run_seek(PosixFileSystem& files, const Options& o) {
  const StockKeys keys(o.records);
  if (o.fill) fill_stock_with_index(files, keys);
  const std::vector<std::uint32_t> order = seek_order(o.seeks, o.records);
  for (const bool shared : {false, true}) {
    const char* mode = shared ? "shared" : "exclusive";
    if (!o.only.empty() && o.only != mode) continue;
    StockArea area(files, shared);
    const std::string what = std::string("seek ") + mode;
    report(what.c_str(), o.seeks, "seeks", best_of(o.runs, [&] { return seeks_once(area, keys, order); }));
    if (!o.diagnostics) continue;
    report(("  index seek alone, " + std::string(mode)).c_str(), o.seeks, "seeks",
           best_of(o.runs, [&] { return index_seeks_once(area, keys, order); }));
    report(("  record read alone, " + std::string(mode)).c_str(), o.seeks, "reads",
           best_of(o.runs, [&] { return record_reads_once(area, order); }));
  }
}

// ------------------------------------------------------------------ append

// The values of append i: INDEKS in random order, ILOSC over -9999.99 ..
// 9999.99, DATA over three years.
struct Movement {
  char indeks[11];
  double ilosc;
  Date data;
};

std::vector<Movement> movements(std::uint32_t count) {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::mt19937 random(31);
  std::vector<Movement> out(count);
  const Date first = Date::from_ymd(2023, 1, 1);
  for (Movement& m : out) {
    for (int c = 0; c < 10; ++c) m.indeks[c] = kAlphabet[random() % 36];
    m.indeks[10] = '\0';
    m.ilosc = (static_cast<double>(random() % 2'000'000) - 1'000'000) / 100.0;
    m.data = first.plus_days(static_cast<int>(random() % 1096));
  }
  return out;
}

// A fresh empty movements table, with its three indexes when asked.
void create_moves(PosixFileSystem& files, bool with_indexes) {
  TableError error;
  if (!Table::create(files, kMovesTable, moves_fields(), error)) die("create", error);
  for (const MovesIndex& one : moves_indexes()) files.remove(NtxIndex::index_file_name(one.file));
  if (!with_indexes) return;
  auto t = open_or_die(files, kMovesTable, false);
  IndexList indexes(*t, kMovesTable);
  for (const MovesIndex& one : moves_indexes())
    if (!indexes.create(one.file, one.key)) die(std::string("index create ") + one.key, indexes.error());
}

// One run: `moves` appended with shared use. Timed from the first append to
// the end of unlock_all, which sends the last record cold; the close, which
// forces the files to disk, is not part of the figure.
Timing append_once(PosixFileSystem& files, const std::vector<Movement>& moves, bool with_indexes) {
  create_moves(files, with_indexes);
  auto t = open_or_die(files, kMovesTable, true);
  IndexList indexes(*t, kMovesTable);
  if (with_indexes)
    for (const MovesIndex& one : moves_indexes())
      if (!indexes.add(one.file)) die(std::string("index open ") + one.file, indexes.error());
  std::vector<std::string> messages;
  indexes.set_message_sink([&](std::string_view m) { messages.emplace_back(m); });
  const Timing timing = timed([&] {
    for (const Movement& m : moves) {
      if (!t->append()) die("append", t->error());
      if (!t->put(0, Value(std::string_view(m.indeks, 10))) || !t->put(1, Value(m.ilosc)) ||
          !t->put(2, Value(m.data)))
        die("put", t->error());
    }
    if (!t->unlock_all()) die("unlock_all", t->error());
  });
  if (!messages.empty()) die("an index lost a key: " + messages.front());
  if (t->record_count() != moves.size()) die("the table does not hold every append");
  for (std::size_t i = 0; i < indexes.size(); ++i) {
    std::uint32_t entries = 0;
    if (!indexes.index(i).for_each([&](const KeyEntry&) { return ++entries, true; }))
      die("index walk", indexes.index(i).error());
    if (entries != moves.size()) die("an index does not hold one key per append");
  }
  indexes.clear();
  if (!t->close()) die("close", t->error());
  return timing;
}

void run_append(PosixFileSystem& files, const Options& o) {
  const std::vector<Movement> moves = movements(o.appends);
  report("append shared, 3 indexes", o.appends, "appends",
         best_of(o.runs, [&] { return append_once(files, moves, true); }));
  if (o.diagnostics)
    report("  the same appends without indexes", o.appends, "appends",
           best_of(o.runs, [&] { return append_once(files, moves, false); }));
}

}  // namespace
}  // namespace intra::bench

int main(int argc, char** argv) {
  using namespace intra;
  using namespace intra::bench;
  const Options o = parse_options(argc, argv);
  WorkDirectory dir(o.dir, "intrastat-ibench-");
  PosixFileSystem files{DosPathMapper(dir.path(), DriveMap{dir.path() / "drives", {}})};
  if (o.command == "fill") fill_stock_with_index(files, StockKeys(o.records));
  else if (o.command == "build") run_build(files, dir.path(), o);
  else if (o.command == "seek") run_seek(files, o);
  else run_append(files, o);
  return 0;
}
