// Writes the seed corpus of index_fuzz: small indexes built by our own
// engine over tables with the fields of the target's fixed table, packed
// in the input layout of index_fuzz_input.h.
//
//   build-fuzz/fuzz/make_index_seeds fuzz/corpus/index
//
// The run clock is virtual, so the same sources give the same seed bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_workspace.h"
#include "index_fuzz_input.h"
#include "index_fuzz_table.h"
#include "storage/index_list.h"
#include "storage/ntx_index.h"
#include "storage/table.h"

namespace intra::fuzz {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void die(const std::string& what, const TableError& error) {
  std::fprintf(stderr, "make_index_seeds: %s: %s\n", what.c_str(), error.message().c_str());
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

IndexTableRow row(std::string indeks, double ilosc = 0, std::string nazwa = "towar") {
  IndexTableRow r;
  r.indeks = std::move(indeks);
  r.ilosc = ilosc;
  r.data = Date::from_ymd(2024, 5, 31);
  r.nazwa = std::move(nazwa);
  r.ok = true;
  return r;
}

// Builds index `index` on `key` over a table of `rows` through the table's
// index list, as the workstation creates its indexes; returns its bytes.
std::string built_index(Workspace& ws, const std::vector<IndexTableRow>& rows, const std::string& key,
                        const std::string& index = "x") {
  TableError error;
  if (!make_index_table(ws.files(), "s", rows, error)) die("table for " + key, error);
  auto t = Table::open(ws.files(), "s", OpenOptions{false, false}, error);
  if (!t) die("open table for " + key, error);
  IndexList indexes(*t, "s");
  if (!indexes.create(index, key)) die("index " + key, indexes.error());
  indexes.clear();
  return read_file(ws.directory() / (index + ".ntx"));
}

// An index made straight by the index engine, for the flags the
// workstation never sets itself (unique, descending, a condition, the
// extended lock layout).
std::string defined_index(Workspace& ws, const NtxDefinition& d, const std::vector<std::string>& keys) {
  std::size_t next = 0;
  TableError error;
  auto x = NtxIndex::create(
      ws.files(), "d", d,
      [&](KeyEntry& out) {
        if (next == keys.size()) return false;
        out.key = keys[next];
        out.recno = static_cast<std::uint32_t>(++next);
        return true;
      },
      false, error);
  if (!x) die("index " + d.key_expression, error);
  x.reset();
  return read_file(ws.directory() / "d.ntx");
}

std::string le(std::uint32_t v, std::size_t bytes) {
  std::string out(bytes, '\0');
  for (std::size_t i = 0; i < bytes; ++i) out[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return out;
}

// A damaged tree no change of the engine makes: a chain of 9 pages of 2
// keys, each with its three children on the next page, under the header
// of `like` (a key size of 8, 54 keys to a page). Each step of a walk is
// valid; a walk from end to end would take some 20,000 of them, more
// than the file has item slots.
std::string shared_subtrees(const std::string& like) {
  constexpr std::uint32_t kLevels = 9;
  constexpr std::uint32_t kMaxKeys = 54;
  constexpr std::uint32_t kItem = 16;
  constexpr std::uint32_t kItemsAt = 2 * kMaxKeys + 4;
  std::string file = like.substr(0, 1024);
  file.replace(4, 4, le(1024, 4));
  file.replace(8, 4, le(0, 4));
  for (std::uint32_t level = 0; level < kLevels; ++level) {
    std::string page(1024, '\0');
    page.replace(0, 2, le(2, 2));
    for (std::uint32_t i = 0; i <= kMaxKeys; ++i) page.replace(2 + 2 * i, 2, le(kItemsAt + kItem * i, 2));
    const std::uint32_t child = level + 1 == kLevels ? 0 : 1024 * (level + 2);
    for (std::uint32_t e = 0; e <= 2; ++e) {
      const std::uint32_t at = kItemsAt + kItem * e;
      page.replace(at, 4, le(child, 4));
      page.replace(at + 4, 4, le(e + 1, 4));
      std::string key = "S" + std::to_string(level * 10 + e);
      key.resize(8, ' ');
      page.replace(at + 8, 8, key);
    }
    file += page;
  }
  return file;
}

void make_seeds(const fs::path& out_dir) {
  Workspace ws;

  write_seed(out_dir, "empty", IndexFuzzInput::encode(built_index(ws, {}, "INDEKS")));

  // Records B, A, C: one leaf holding A (record 2), B (1), C (3).
  const std::string bac = built_index(ws, {row("B"), row("A"), row("C")}, "INDEKS");
  write_seed(out_dir, "bac", IndexFuzzInput::encode(bac));
  write_seed(out_dir, "bac-shared-table", IndexFuzzInput::encode(bac, IndexFuzzInput::kSharedTable));
  write_seed(out_dir, "shared-subtrees", IndexFuzzInput::encode(shared_subtrees(bac)));

  // 120 keys of 8 bytes, 54 to a page: a root over three leaves.
  std::vector<IndexTableRow> many;
  for (int i = 0; i < 120; ++i) many.push_back(row("K" + std::to_string((i * 37) % 120 + 100)));
  const std::string two_level = built_index(ws, many, "INDEKS");
  write_seed(out_dir, "two-level", IndexFuzzInput::encode(two_level));
  write_seed(out_dir, "two-level-many-changes", IndexFuzzInput::encode(two_level, IndexFuzzInput::kManyChanges));
  // The same with an I/O fault in the changing passes: once early, and for
  // good from a later operation on.
  write_seed(out_dir, "two-level-fault-once", IndexFuzzInput::encode(two_level, 6));
  write_seed(out_dir, "two-level-fault-for-good", IndexFuzzInput::encode(two_level, 32 + 9));

  // Numbers with negatives: -5 and -10 are stored as ",,,,'..." forms.
  std::vector<IndexTableRow> numbers;
  for (const double n : {5.0, -5.0, -10.0, 0.0, 12.25, -0.5, 999.99, -999.99, 5.0})
    numbers.push_back(row("N", n));
  write_seed(out_dir, "numeric-negative", IndexFuzzInput::encode(built_index(ws, numbers, "ILOSC")));

  // A date and text key, and a key of 96 bytes (8 to a page) deep enough
  // for splits and merges after a few changes.
  write_seed(out_dir, "date-text", IndexFuzzInput::encode(built_index(ws, many, "DTOS(DATA)+INDEKS")));
  std::vector<IndexTableRow> named;
  for (int i = 0; i < 40; ++i) named.push_back(row("L", i, "Nazwa " + std::to_string(i % 13)));
  write_seed(out_dir, "long-key",
             IndexFuzzInput::encode(built_index(ws, named, "NAZWA+NAZWA+NAZWA+NAZWA+NAZWA+NAZWA+NAZWA+NAZWA"),
                                    IndexFuzzInput::kManyChanges));

  // Descending and unique over names with repeats.
  NtxDefinition descending;
  descending.key_expression = "UPPER(NAZWA)";
  descending.key_size = 12;
  descending.unique = true;
  descending.descending = true;
  write_seed(out_dir, "descending-unique",
             IndexFuzzInput::encode(defined_index(ws, descending, {"TOWAR 1", "TOWAR", "TOWAR 1", "ZETA", "ALFA"})));

  // A condition and the extended lock layout (type word 0x27).
  NtxDefinition conditional;
  conditional.key_expression = "INDEKS";
  conditional.condition = "OK";
  conditional.key_size = 8;
  conditional.extended_locks = true;
  const std::string conditional_bytes = defined_index(ws, conditional, {"B", "A", "C", "A"});
  write_seed(out_dir, "condition-extended-locks",
             IndexFuzzInput::encode(conditional_bytes, IndexFuzzInput::kSharedTable));

  // A free list: most keys of the two-level tree deleted, so leaves merged
  // and the root collapsed, freeing pages.
  {
    std::ofstream(ws.directory() / "f.ntx", std::ios::binary | std::ios::trunc) << two_level;
    TableError error;
    auto x = NtxIndex::open(ws.files(), "f", false, false, error);
    if (!x) die("open f", error);
    for (std::uint32_t n = 1; n <= 100; ++n) {
      bool missing = false;
      const std::string key = "K" + std::to_string((static_cast<int>(n - 1) * 37) % 120 + 100);
      if (!x->update(key, std::nullopt, n, missing) || missing) die("delete " + key, x->error());
    }
    x.reset();
    write_seed(out_dir, "free-list", IndexFuzzInput::encode(read_file(ws.directory() / "f.ntx")));
  }
}

}  // namespace
}  // namespace intra::fuzz

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_index_seeds OUTPUT-DIRECTORY\n");
    return 2;
  }
  std::filesystem::create_directories(argv[1]);
  intra::fuzz::make_seeds(argv[1]);
  return 0;
}
