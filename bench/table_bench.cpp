// Table engine benchmark: how fast the workstation walks a month's stock
// table and how fast it appends lines to a table other stations share.
//
// Usage (from the repository; build-bench is a RelWithDebInfo build):
//   build-bench/bench/table_bench scan   [--records N] [--runs R] [--dir D] [--only exclusive|shared] [--no-fill]
//   build-bench/bench/table_bench append [--count N] [--runs R] [--dir D]
//   build-bench/bench/table_bench fill   [--records N] --dir D
//
//   scan    writes a stock table of N records (default 1,000,000; not timed),
//           then times a walk over every record reading every field through
//           Table::get, opened exclusive and shared. Two diagnostic figures
//           follow: the walk without decoding (go_to + record_bytes) and the
//           decoding alone over an in-memory record.
//   append  times N (default 100,000) shared appends, each filling three
//           fields; the record goes cold at the next append, the locks are
//           released by unlock_all at the end.
//   fill    only writes the scan table into D (for bench/run_table_bench.sh,
//           which counts system calls with the table prepared beforehand).
//
// Each figure is the best of R runs (default 3): the machine is shared, the
// best run is the one least disturbed. A checksum over everything read is
// printed so that no read can be optimised away; equal checksums across
// runs show every run read the same data.
#include <fcntl.h>
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
#include "storage/table.h"

namespace intra::bench {
namespace {

namespace fs = std::filesystem;

constexpr const char* kScanTable = "stock";
constexpr const char* kAppendTable = "lines";

// A stock line as the month's stock table holds it.
const std::vector<FieldSpec>& stock_fields() {
  static const std::vector<FieldSpec> fields = {
      {"MAG", 'C', 1, 0},    {"INDEKS", 'C', 8, 0}, {"NAZWA", 'C', 30, 0}, {"ILOSC", 'N', 12, 3},
      {"CENA", 'N', 10, 2},  {"DATA", 'D', 8, 0},   {"OK", 'L', 1, 0},
  };
  return fields;
}

struct Options {
  std::string command;
  std::uint32_t records = 1'000'000;
  std::uint32_t appends = 100'000;
  int runs = 3;
  std::string dir;
  std::string only;  // "", "exclusive" or "shared"
  bool fill = true;
};

[[noreturn]] void usage_error(const std::string& why) {
  std::fprintf(stderr,
               "table_bench: %s\n"
               "usage: table_bench scan|append|fill [--records N] [--count N] [--runs R] [--dir D]\n"
               "                   [--only exclusive|shared] [--no-fill]\n",
               why.c_str());
  std::exit(2);
}

[[noreturn]] void die(const std::string& what, const TableError& error) {
  std::fprintf(stderr, "table_bench: %s: %s\n", what.c_str(), error.message().c_str());
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
    auto number = [&]() -> unsigned long {
      const std::string v = value();
      char* end = nullptr;
      const unsigned long n = std::strtoul(v.c_str(), &end, 10);
      if (end == v.c_str() || *end != '\0' || n == 0 || n > 0xFFFFFFFFul) usage_error("bad number " + v);
      return n;
    };
    if (a == "--records") o.records = static_cast<std::uint32_t>(number());
    else if (a == "--count") o.appends = static_cast<std::uint32_t>(number());
    else if (a == "--runs") o.runs = static_cast<int>(number());
    else if (a == "--dir") o.dir = value();
    else if (a == "--only") o.only = value();
    else if (a == "--no-fill") o.fill = false;
    else usage_error("unknown option " + std::string(a));
  }
  if (o.command != "scan" && o.command != "append" && o.command != "fill")
    usage_error("unknown sub-benchmark " + o.command);
  if (!o.only.empty() && o.only != "exclusive" && o.only != "shared") usage_error("--only takes exclusive or shared");
  if (o.command == "fill" && o.dir.empty()) usage_error("fill needs --dir");
  return o;
}

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void report(const char* what, std::uint32_t count, const char* unit, double seconds) {
  std::printf("%s: %u %s in %.3f s = %.0f %s/s\n", what, count, unit, seconds, count / seconds, unit);
  std::fflush(stdout);
}

// Best (shortest) time of `runs` calls of `once`, which returns its seconds.
double best_of(int runs, const std::function<double()>& once) {
  double best = 0;
  for (int r = 0; r < runs; ++r) {
    const double s = once();
    if (r == 0 || s < best) best = s;
  }
  return best;
}

// ------------------------------------------------------------------ filling

// Record i (from 0) of the stock table, in the engine's own field forms.
// Every hundredth line is deleted, so the walk sees both flags.
void stock_record(std::uint32_t i, const std::vector<FieldDescriptor>& fields, char* out) {
  out[0] = i % 100 == 99 ? '*' : ' ';
  char text[40];
  out[fields[0].offset] = static_cast<char>('A' + i % 5);
  std::snprintf(text, sizeof text, "%08u", i);
  put_text(out + fields[1].offset, 8, text);
  std::snprintf(text, sizeof text, "TOWAR NR %u PARTIA %u", i, i % 37);
  put_text(out + fields[2].offset, 30, text);
  format_number_into((i % 100000) * 0.125, 12, 3, out + fields[3].offset);
  format_number_into((i % 9973) * 1.07, 10, 2, out + fields[4].offset);
  const std::string date = Date::from_ymd(2024, 1, 1).plus_days(static_cast<int>(i % 366)).dtos();
  put_text(out + fields[5].offset, 8, date);
  out[fields[6].offset] = i % 3 == 0 ? 'F' : 'T';
}

// Writes the table straight to its file: created empty by the engine, then
// the records in large writes, the end marker and the record count in the
// header, as an exclusive writer would leave it.
void fill_stock_table(PosixFileSystem& files, std::uint32_t records) {
  TableError error;
  if (!Table::create(files, kScanTable, stock_fields(), error)) die("create", error);
  auto probe = Table::open(files, kScanTable, OpenOptions{false, true}, error);
  if (!probe) die("open", error);
  const std::vector<FieldDescriptor> fields = probe->fields();
  const auto header_length = static_cast<off_t>(probe->header_length());
  const auto record_length = static_cast<std::size_t>(probe->record_length());
  probe->close();
  probe.reset();

  const fs::path path = files.resolve(Table::table_file_name(kScanTable));
  const int fd = ::open(path.c_str(), O_WRONLY);
  if (fd < 0) {
    std::perror(path.c_str());
    std::exit(1);
  }
  auto write_all = [&](const char* data, std::size_t size, off_t at) {
    while (size > 0) {
      const ssize_t n = ::pwrite(fd, data, size, at);
      if (n <= 0) {
        std::perror("writing the stock table");
        std::exit(1);
      }
      data += n;
      size -= static_cast<std::size_t>(n);
      at += n;
    }
  };
  constexpr std::uint32_t kChunk = 32768;
  std::vector<char> chunk(kChunk * record_length);
  off_t at = header_length;
  for (std::uint32_t first = 0; first < records; first += kChunk) {
    const std::uint32_t n = records - first < kChunk ? records - first : kChunk;
    for (std::uint32_t k = 0; k < n; ++k) stock_record(first + k, fields, chunk.data() + k * record_length);
    write_all(chunk.data(), n * record_length, at);
    at += static_cast<off_t>(n * record_length);
  }
  const char marker = 0x1A;
  write_all(&marker, 1, at);
  const unsigned char count[4] = {static_cast<unsigned char>(records), static_cast<unsigned char>(records >> 8),
                                  static_cast<unsigned char>(records >> 16), static_cast<unsigned char>(records >> 24)};
  write_all(reinterpret_cast<const char*>(count), 4, 4);
  ::close(fd);
}

// ------------------------------------------------------------------ scan

// What the walk read, folded so that every byte matters: text lengths,
// numbers, day numbers, true logicals, deleted records.
struct Checksum {
  double numbers = 0;
  std::uint64_t other = 0;

  void add(const Value& v) {
    switch (v.type()) {
      case ValueType::Text: other += v.text().size(); break;
      case ValueType::Number: numbers += v.number(); break;
      case ValueType::Logical: other += v.logical() ? 1 : 0; break;
      case ValueType::Date: other += static_cast<std::uint64_t>(v.date().day_number()); break;
      case ValueType::List: other += v.list().size(); break;
    }
  }
  void print(const char* what) const { std::printf("checksum %s: %.3f / %llu\n", what, numbers, static_cast<unsigned long long>(other)); }
};

std::unique_ptr<Table> open_or_die(PosixFileSystem& files, const char* name, bool shared) {
  TableError error;
  auto t = Table::open(files, name, OpenOptions{shared, false}, error);
  if (!t) die("open", error);
  return t;
}

// Goes to every record and reads every field through get().
double walk_with_get(PosixFileSystem& files, bool shared, std::uint32_t expected, Checksum& sum) {
  auto t = open_or_die(files, kScanTable, shared);
  const auto start = std::chrono::steady_clock::now();
  const std::uint32_t count = t->record_count();
  const int field_count = t->field_count();
  Value v;
  for (std::uint32_t n = 1; n <= count; ++n) {
    if (!t->go_to(n)) die("go_to", t->error());
    for (int f = 0; f < field_count; ++f) {
      if (!t->get(f, v)) die("get", t->error());
      sum.add(v);
    }
    sum.other += t->deleted() ? 1 : 0;
  }
  const double s = seconds_since(start);
  if (count != expected) {
    std::fprintf(stderr, "table_bench: the table holds %u records, not %u\n", count, expected);
    std::exit(1);
  }
  return s;
}

// The same walk without decoding: positioning and the record read only.
double walk_raw(PosixFileSystem& files, Checksum& sum) {
  auto t = open_or_die(files, kScanTable, false);
  const auto start = std::chrono::steady_clock::now();
  const std::uint32_t count = t->record_count();
  std::string_view bytes;
  for (std::uint32_t n = 1; n <= count; ++n) {
    t->go_to(n);
    if (!t->record_bytes(bytes)) die("record_bytes", t->error());
    sum.other += static_cast<unsigned char>(bytes[bytes.size() / 2]);
  }
  return seconds_since(start);
}

// The decoding alone: every field of one record buffer, `count` times,
// through the codec the engine's get() uses.
double decode_only(PosixFileSystem& files, std::uint32_t count, Checksum& sum) {
  auto t = open_or_die(files, kScanTable, false);
  std::string_view bytes;
  if (!t->record_bytes(bytes)) die("record_bytes", t->error());
  const std::string record(bytes);
  const std::vector<FieldDescriptor> fields = t->fields();
  const auto start = std::chrono::steady_clock::now();
  Value v;
  for (std::uint32_t n = 0; n < count; ++n) {
    for (const FieldDescriptor& f : fields) {
      v = decode_field(f, std::string_view(record).substr(static_cast<std::size_t>(f.offset),
                                                           static_cast<std::size_t>(f.width)));
      sum.add(v);
    }
  }
  return seconds_since(start);
}

void run_scan(PosixFileSystem& files, const Options& o) {
  if (o.fill) {
    const auto start = std::chrono::steady_clock::now();
    fill_stock_table(files, o.records);
    std::fprintf(stderr, "(filled %u records in %.3f s, not timed)\n", o.records, seconds_since(start));
  }
  for (const bool shared : {false, true}) {
    const char* mode = shared ? "shared" : "exclusive";
    if (!o.only.empty() && o.only != mode) continue;
    Checksum sum;
    const double s = best_of(o.runs, [&] {
      Checksum one;
      const double t = walk_with_get(files, shared, o.records, one);
      sum = one;
      return t;
    });
    report(shared ? "scan shared" : "scan exclusive", o.records, "records", s);
    sum.print(mode);
  }
  if (!o.only.empty()) return;
  Checksum raw;
  report("  read only, no decoding (exclusive)", o.records, "records",
         best_of(o.runs, [&] { return walk_raw(files, raw); }));
  Checksum decoded;
  report("  decoding only, 7 fields (no I/O)", o.records, "records",
         best_of(o.runs, [&] { return decode_only(files, o.records, decoded); }));
}

// ------------------------------------------------------------------ append

// One run: a fresh empty table, `count` shared appends with three fields
// each. Timed from the first append to the end of unlock_all (close, which
// forces the file to disk, is reported apart).
double append_once(PosixFileSystem& files, std::uint32_t count, double& close_seconds) {
  TableError error;
  if (!Table::create(files, kAppendTable, stock_fields(), error)) die("create", error);
  auto t = open_or_die(files, kAppendTable, true);
  const int indeks = t->field_index("INDEKS");
  const int ilosc = t->field_index("ILOSC");
  const int data = t->field_index("DATA");
  const Date day = Date::from_ymd(2024, 5, 31);
  char text[16];
  const auto start = std::chrono::steady_clock::now();
  for (std::uint32_t i = 0; i < count; ++i) {
    if (!t->append()) die("append", t->error());
    std::snprintf(text, sizeof text, "%08u", i);
    if (!t->put(indeks, Value(std::string_view(text, 8))) || !t->put(ilosc, Value((i % 1000) * 0.5)) ||
        !t->put(data, Value(day)))
      die("put", t->error());
  }
  if (!t->unlock_all()) die("unlock_all", t->error());
  const double s = seconds_since(start);
  const auto closing = std::chrono::steady_clock::now();
  if (!t->close()) die("close", t->error());
  close_seconds = seconds_since(closing);
  auto check = open_or_die(files, kAppendTable, false);
  if (check->record_count() != count) {
    std::fprintf(stderr, "table_bench: %u records after %u appends\n", check->record_count(), count);
    std::exit(1);
  }
  return s;
}

void run_append(PosixFileSystem& files, const Options& o) {
  double close_seconds = 0;
  const double s = best_of(o.runs, [&] { return append_once(files, o.appends, close_seconds); });
  report("append shared", o.appends, "appends", s);
  std::printf("  close after the appends (last run): %.3f s\n", close_seconds);
}

}  // namespace
}  // namespace intra::bench

int main(int argc, char** argv) {
  using namespace intra;
  using namespace intra::bench;
  const Options o = parse_options(argc, argv);
  WorkDirectory dir(o.dir, "intrastat-bench-");
  PosixFileSystem files{DosPathMapper(dir.path(), DriveMap{dir.path() / "drives", {}})};
  if (o.command == "fill") fill_stock_table(files, o.records);
  else if (o.command == "scan") run_scan(files, o);
  else run_append(files, o);
  return 0;
}
