// Writes the seed corpus of table_fuzz: small tables made by our own
// engine (and two written byte by byte for the field forms the engine
// reads but never creates), packed in the fuzz input layout of
// fuzz_input.h.
//
//   build-fuzz/fuzz/make_table_seeds fuzz/corpus/table
//
// The run clock is virtual, so the same sources give the same seed bytes.
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "fuzz_workspace.h"
#include "main/date.h"
#include "main/value.h"
#include "storage/dbf_header.h"
#include "storage/table.h"

namespace intra::fuzz {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void die(const std::string& what, const TableError& error) {
  std::fprintf(stderr, "make_table_seeds: %s: %s\n", what.c_str(), error.message().c_str());
  std::exit(1);
}

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_seed(const fs::path& out_dir, const std::string& name, const std::string& bytes) {
  std::ofstream(out_dir / name, std::ios::binary | std::ios::trunc) << bytes;
  std::printf("%s: %zu bytes\n", name.c_str(), bytes.size());
}

// Creates table `name`, lets `fill` change it with exclusive use, closes it.
void make_table(Workspace& ws, const std::string& name, const std::vector<FieldSpec>& fields,
                const std::function<void(Table&)>& fill) {
  TableError error;
  if (!Table::create(ws.files(), name, fields, error)) die("create " + name, error);
  auto t = Table::open(ws.files(), name, OpenOptions{false, false}, error);
  if (!t) die("open " + name, error);
  fill(*t);
  if (!t->close()) die("close " + name, t->error());
}

void put(Table& t, const char* field, const Value& v) {
  if (!t.put(t.field_index(field), v)) die(std::string("put ") + field, t.error());
}

void append(Table& t) {
  if (!t.append()) die("append", t.error());
}

std::string little_endian(std::uint64_t v, std::size_t bytes) {
  std::string out(bytes, '\0');
  for (std::size_t i = 0; i < bytes; ++i) out[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return out;
}

// A table with the binary field forms of the shared database's other
// programs: I 4, B 8, D 3 and a 4-byte memo, version 0x30 with the memo flag.
std::string binary_forms_table() {
  const std::vector<FieldDescriptor> fields = {
      {"NR", 'I', 4, 0, 0}, {"WAGA", 'B', 8, 0, 0}, {"DZIEN", 'D', 3, 0, 0}, {"OPIS", 'M', 4, 0, 0}};
  TableHeader h;
  h.version = 0x30;
  h.flags = 0x02;
  h.last_update = Date::from_ymd(2024, 5, 31);
  h.record_count = 2;
  h.header_length = static_cast<std::uint16_t>(header_length_of(fields));
  h.record_length = static_cast<std::uint16_t>(record_length_of(fields));
  std::string bytes = encode_header(h);
  bytes[28] = 0x02;  // the memo flag, which the engine's encoder keeps only bit 0 of
  for (const FieldDescriptor& f : fields) bytes += encode_descriptor(f);
  bytes += '\x0D';
  bytes += '\0';
  const double weights[] = {12.5, -0.25};
  for (std::uint32_t n = 1; n <= 2; ++n) {
    bytes += ' ';
    bytes += little_endian(static_cast<std::uint32_t>(n * 1000 - 1), 4);
    bytes += little_endian(std::bit_cast<std::uint64_t>(weights[n - 1]), 8);
    bytes += little_endian(static_cast<std::uint64_t>(Date::from_ymd(2024, 5, static_cast<int>(n)).day_number()), 3);
    bytes += little_endian(n == 1 ? 1 : 0, 4);
  }
  bytes += '\x1A';
  return bytes;
}

void make_seeds(const fs::path& out_dir) {
  Workspace ws;
  const fs::path& dir = ws.directory();
  auto table = [&](const std::string& name) { return read_file(dir / (name + ".dbf")); };
  auto memo = [&](const std::string& name) { return read_file(dir / (name + ".dbt")); };
  const Date day = Date::from_ymd(2024, 5, 31);

  // An empty stock table: header, three descriptors, terminator, end marker.
  make_table(ws, "empty", {{"MAG", 'C', 1, 0}, {"INDEKS", 'C', 8, 0}, {"ILOSC", 'N', 12, 3}}, [](Table&) {});
  write_seed(out_dir, "empty", FuzzInput::encode(table("empty"), ""));

  // Text, number, date and logical fields, three records.
  const std::vector<FieldSpec> stock = {
      {"MAG", 'C', 1, 0}, {"INDEKS", 'C', 8, 0}, {"ILOSC", 'N', 8, 3}, {"DATA", 'D', 8, 0}, {"OK", 'L', 1, 0}};
  make_table(ws, "stock", stock, [&](Table& t) {
    for (int i = 0; i < 3; ++i) {
      append(t);
      put(t, "MAG", Value(std::string(1, static_cast<char>('A' + i))));
      put(t, "INDEKS", Value("IND" + std::to_string(100 + i)));
      put(t, "ILOSC", Value(i * 12.125 - 1));
      if (i != 1) put(t, "DATA", Value(day.plus_days(i)));
      put(t, "OK", Value(i % 2 == 0));
    }
  });
  write_seed(out_dir, "stock", FuzzInput::encode(table("stock"), ""));
  // The same table with faults in the changing pass: once early, and for
  // good from a later operation on; and with zap and many changes.
  write_seed(out_dir, "stock-fault-once", FuzzInput::encode(table("stock"), "", 5));
  write_seed(out_dir, "stock-fault-for-good", FuzzInput::encode(table("stock"), "", 32 + 12));
  write_seed(out_dir, "stock-zap", FuzzInput::encode(table("stock"), "", FuzzInput::kZap | FuzzInput::kManyChanges));
  // Headers that lie: a record count of 4 billion (never trusted: the count
  // follows the file size) and a header length of 65535, far beyond the
  // file (the descriptor area cannot be read: a corrupt table).
  std::string lying = table("stock");
  lying.replace(4, 4, little_endian(0xFFFFFFFFu, 4));
  write_seed(out_dir, "count-4-billion", FuzzInput::encode(lying, ""));
  lying = table("stock");
  lying.replace(8, 2, little_endian(0xFFFF, 2));
  write_seed(out_dir, "header-65535", FuzzInput::encode(lying, ""));

  // A memo field: an empty memo, a short one and one of two blocks.
  make_table(ws, "notes", {{"INDEKS", 'C', 8, 0}, {"UWAGI", 'M', 10, 0}}, [&](Table& t) {
    const std::size_t lengths[] = {0, 100, 600};
    for (std::size_t length : lengths) {
      append(t);
      put(t, "INDEKS", Value("N" + std::to_string(length)));
      put(t, "UWAGI", Value(std::string(length, 'm')));
    }
  });
  write_seed(out_dir, "memo", FuzzInput::encode(table("notes"), memo("notes")));

  // Deleted records: two with '*', and the 'D' / 'E' flags other programs
  // write for deleted and recalled records, patched into the file.
  make_table(ws, "deleted", {{"INDEKS", 'C', 8, 0}, {"CENA", 'N', 10, 2}}, [&](Table& t) {
    for (int i = 0; i < 6; ++i) {
      append(t);
      put(t, "INDEKS", Value("D" + std::to_string(i)));
      put(t, "CENA", Value(i * 1.5));
      if (i == 1 || i == 4) t.delete_record();
    }
  });
  std::string deleted = table("deleted");
  {
    TableError error;
    auto t = Table::open(ws.files(), "deleted", OpenOptions{false, true}, error);
    if (!t) die("open deleted", error);
    deleted[static_cast<std::size_t>(t->header_length() + 2 * t->record_length())] = 'D';
    deleted[static_cast<std::size_t>(t->header_length() + 3 * t->record_length())] = 'E';
  }
  write_seed(out_dir, "deleted", FuzzInput::encode(deleted, ""));

  // Binary field forms, with a memo file holding one text at block 1.
  std::string binary_memo(512, '\0');
  binary_memo.replace(0, 4, little_endian(2, 4));
  binary_memo += "binary memo";
  binary_memo.append(512 - 11, '\x1A');
  write_seed(out_dir, "binary-forms", FuzzInput::encode(binary_forms_table(), binary_memo));
}

}  // namespace
}  // namespace intra::fuzz

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_table_seeds OUTPUT-DIRECTORY\n");
    return 2;
  }
  std::filesystem::create_directories(argv[1]);
  intra::fuzz::make_seeds(argv[1]);
  return 0;
}
