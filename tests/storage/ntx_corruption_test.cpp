// Damaged index files and failing files: every call ends, with Corruption,
// ReadError or WriteError, and never touches memory outside its pages.
#include <gtest/gtest.h>

#include <random>

#include "ntx_test_support.h"

namespace intra::testing {
namespace {

// 200 keys of size 10: full leaves at 1024, 2048, 3072, the last leaf
// (47 keys) at 4096, the root (3 keys) at 5120.
class NtxDamaged : public NtxTest {
 protected:
  void SetUp() override {
    for (std::uint32_t r = 1; r <= 200; ++r) entries.push_back({padded("K" + std::to_string(1000 + r), 10), r});
    build("as", key_definition(10), entries);
    pristine = bytes("as.ntx");
    ASSERT_EQ(pristine.size(), 6144u);
    ASSERT_EQ(u32_at(pristine, 4), kRoot);
  }
  // The item slot of entry `e` of the page at `page`.
  std::size_t slot(std::size_t page, int e) const { return page + u16_at(pristine, page + 2 + 2 * static_cast<std::size_t>(e)); }

  static constexpr std::uint32_t kRoot = 5120;
  std::vector<KeyEntry> entries;
  std::string pristine;
};

struct Damage {
  const char* name;
  std::function<void()> apply;
  const char* detail;  // in the message of the first failing call
};

TEST_F(NtxDamaged, DamagedPagesAreCorruptionAndCheckReportsThem) {
  const std::vector<Damage> damages = {
      {"root not at a page boundary", [this] { patch("as.ntx", 4, le32(1000)); }, "page offset 1000 is not a page"},
      {"root beyond the file", [this] { patch("as.ntx", 4, le32(102400)); }, "beyond the end of the file"},
      {"key count above m", [this] { patch("as.ntx", kRoot, le16(51)); }, "key count 51 above 50"},
      {"slot outside the item slots", [this] { patch("as.ntx", kRoot + 2, le16(2000)); }, "is not an item slot"},
      {"slot between two item slots", [this] { patch("as.ntx", kRoot + 2, le16(105)); }, "is not an item slot"},
      {"slot used twice", [this] { patch("as.ntx", kRoot + 4, le16(104)); }, "appears twice"},
      {"root as its own child", [this] { patch("as.ntx", slot(kRoot, 0), le32(kRoot)); }, "deeper than 64 levels"},
      {"leaf pointing up to the root", [this] { patch("as.ntx", slot(1024, 0), le32(kRoot)); }, "deeper than 64 levels"},
      {"page cut short", [this] { write_bytes("as.ntx", pristine.substr(0, 5600)); }, "cut short"},
  };
  for (const Damage& d : damages) {
    SCOPED_TRACE(d.name);
    write_bytes("as.ntx", pristine);
    d.apply();
    auto index = open("as");
    ASSERT_TRUE(index) << error.message();
    EXPECT_FALSE(index->first());
    EXPECT_EQ(index->error().kind, TableErrorKind::Corruption);
    EXPECT_NE(index->error().message().find(d.detail), std::string::npos) << index->error().message();
    EXPECT_NE(index->error().message().find("in as.ntx"), std::string::npos);
    EXPECT_FALSE(index->check().empty());
    bool missing = false;
    EXPECT_FALSE(index->update(std::nullopt, padded("K0", 10), 999, missing));
    EXPECT_FALSE(index->for_each([](const KeyEntry&) { return true; }));
  }
}

TEST_F(NtxDamaged, FreeListDamageIsFoundBeforeAPageIsReused) {
  // A leaf holding keys as the first free page.
  patch("as.ntx", 8, le32(2048));
  {
    auto index = open("as");
    const auto problems = index->check();
    ASSERT_FALSE(problems.empty());
    bool missing = false;
    // Keys before K1001 go into the full first leaf: the split needs a page.
    EXPECT_FALSE(index->update(std::nullopt, padded("A", 10), 300, missing));
    EXPECT_EQ(index->error().kind, TableErrorKind::Corruption);
    EXPECT_NE(index->error().message().find("free page at 2048 holds keys"), std::string::npos) << index->error().message();
  }
  EXPECT_EQ(bytes("as.ntx").substr(1024), pristine.substr(1024));  // the failed change never reached the file

  // A free page linking to itself.
  write_bytes("as.ntx", pristine);
  std::string free_page(1024, '\0');
  for (int i = 0; i <= 50; ++i) free_page.replace(2 + 2 * static_cast<std::size_t>(i), 2, le16(104 + 18 * static_cast<unsigned>(i)));
  free_page.replace(104, 4, le32(6144));
  patch("as.ntx", 6144, free_page);
  patch("as.ntx", 8, le32(6144));
  auto index = open("as");
  const auto problems = index->check();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("cycle"), std::string::npos) << problems[0];
  bool missing = false;
  EXPECT_FALSE(index->update(std::nullopt, padded("A", 10), 300, missing));
  EXPECT_NE(index->error().message().find("free list link 6144 at 6144"), std::string::npos) << index->error().message();
}

TEST_F(NtxDamaged, CheckFindsBrokenOrderFillAndDepth) {
  auto expect_problem = [&](const char* what) {
    auto index = open("as");
    const auto problems = index->check();
    bool seen = false;
    for (const auto& p : problems) seen = seen || p.find(what) != std::string::npos;
    EXPECT_TRUE(seen) << what << (problems.empty() ? std::string(": no problem") : ": " + problems.front());
  };
  patch("as.ntx", slot(1024, 3) + 8, "Z");
  expect_problem("out of order");
  write_bytes("as.ntx", pristine);
  patch("as.ntx", 4096, le16(10));  // last leaf down to 10 keys
  expect_problem("holds 10 keys, fewer than 25");
  write_bytes("as.ntx", pristine);
  patch("as.ntx", slot(kRoot, 1), le32(1024));  // two keys over one leaf
  expect_problem("reachable twice");
  write_bytes("as.ntx", pristine);
  patch("as.ntx", 6143, std::string(1, '\0') + "tail");
  expect_problem("not a multiple of 1024");
  write_bytes("as.ntx", pristine);
  auto index = open("as");
  EXPECT_TRUE(index->check().empty());
}

// Random bytes over random places of the pages: whatever each call
// returns, it returns, and within bounded work.
TEST_F(NtxDamaged, RandomDamageNeverCrashesOrHangs) {
  std::mt19937 random(2024);
  for (int round = 0; round < 300; ++round) {
    std::string damaged = pristine;
    const int hits = 1 + static_cast<int>(random() % 8);
    for (int h = 0; h < hits; ++h) {
      const std::size_t at = 1024 + random() % (damaged.size() - 1024);
      damaged[at] = static_cast<char>(random() % 3 == 0 ? 0 : random());
    }
    if (round % 10 == 0) damaged.resize(1024 + random() % (damaged.size() - 1024));
    write_bytes("as.ntx", damaged);
    auto index = open("as");
    ASSERT_TRUE(index) << error.message();
    int steps = 0;
    for (bool on = index->first(); on && steps < 5000; on = index->next()) ++steps;
    ASSERT_LT(steps, 5000);
    for (bool on = index->last(); on && steps < 10000; on = index->prev()) ++steps;
    ASSERT_LT(steps, 10000);
    bool found = false;
    bool missing = false;
    index->seek("K11", found);
    index->update(padded("K1100", 10), padded("K0", 10), 100, missing);
    for (std::uint32_t r = 0; r < 60; ++r) index->update(std::nullopt, padded("A" + std::to_string(r), 10), 300 + r, missing);
    for (std::uint32_t r = 1; r < 120; r += 2)
      index->update(entries[r - 1].key, std::nullopt, r, missing);
    index->for_each([](const KeyEntry&) { return true; });
    index->check();
  }
}

// Pages that share subtrees: 30 pages of 2 keys, each with all three
// children on the next page, the last a leaf. Every step of a walk is
// valid by itself, and a walk from end to end would take some 10^14 of
// them; it fails with Corruption once it has taken more steps than the
// file has item slots.
TEST_F(NtxDamaged, WalkThroughPagesSharingSubtreesEnds) {
  constexpr std::uint32_t kLevels = 30;
  std::string file = pristine.substr(0, 1024);
  file.replace(4, 4, le32(1024));
  file.replace(8, 4, le32(0));
  for (std::uint32_t level = 0; level < kLevels; ++level) {
    std::string page(1024, '\0');
    page.replace(0, 2, le16(2));
    for (unsigned i = 0; i <= 50; ++i) page.replace(2 + 2 * i, 2, le16(104 + 18 * i));
    const std::uint32_t child = level + 1 == kLevels ? 0 : 1024 * (level + 2);
    for (unsigned e = 0; e <= 2; ++e) {
      page.replace(104 + 18 * e, 4, le32(child));
      page.replace(108 + 18 * e, 4, le32(e + 1));
      page.replace(112 + 18 * e, 10, padded("K" + std::to_string(level * 10 + e), 10));
    }
    file += page;
  }
  write_bytes("as.ntx", file);
  auto index = open("as");
  ASSERT_TRUE(index) << error.message();
  const std::uint64_t slots = (file.size() / 1024 + 1) * 51;
  for (const bool forward : {true, false}) {
    SCOPED_TRACE(forward ? "first/next" : "last/prev");
    std::uint64_t steps = 0;
    bool on = forward ? index->first() : index->last();
    for (; on && steps < 100000; ++steps) on = forward ? index->next() : index->prev();
    EXPECT_FALSE(on);
    EXPECT_LT(steps, slots + 4096);  // the file size is looked at every 4096 steps
    EXPECT_EQ(index->error().kind, TableErrorKind::Corruption);
    EXPECT_NE(index->error().message().find("walk through the tree does not end"), std::string::npos)
        << index->error().message();
  }
  EXPECT_FALSE(index->for_each([](const KeyEntry&) { return true; }));
  EXPECT_FALSE(index->check().empty());

  // A whole tree of more than 4096 keys is walked to its end both ways.
  std::vector<KeyEntry> many;
  for (std::uint32_t r = 1; r <= 10000; ++r) many.push_back({padded("M" + std::to_string(100000 + r), 10), r});
  build("big", key_definition(10), many);
  auto big = open("big");
  ASSERT_TRUE(big) << error.message();
  std::uint32_t seen = 0;
  for (bool on = big->first(); on; on = big->next()) ++seen;
  EXPECT_EQ(seen, 10000u);
  EXPECT_FALSE(big->error()) << big->error().message();
  seen = 0;
  for (bool on = big->last(); on; on = big->prev()) ++seen;
  EXPECT_EQ(seen, 10000u);
  EXPECT_FALSE(big->error()) << big->error().message();
}

TEST_F(NtxDamaged, WriteFailureLeavesTheFileAndTheIndexAsTheyWere) {
  FaultyFileSystem faulty(files);
  auto index = NtxIndex::open(faulty, "as", true, false, error);
  ASSERT_TRUE(index);
  faulty.switches.writes_before_failure = 0;
  bool missing = false;
  EXPECT_FALSE(index->update(std::nullopt, padded("K1100A", 10), 300, missing));
  EXPECT_EQ(index->error().kind, TableErrorKind::WriteError);
  EXPECT_EQ(bytes("as.ntx"), pristine);
  faulty.switches.writes_before_failure = -1;
  EXPECT_EQ(entries_of(*index).size(), 200u);
  EXPECT_TRUE(index->check().empty());
  ASSERT_TRUE(index->update(std::nullopt, padded("K1100A", 10), 300, missing));
  EXPECT_EQ(entries_of(*index).size(), 201u);
}

TEST_F(NtxDamaged, ReadFailureIsAReadError) {
  FaultyFileSystem faulty(files);
  auto index = NtxIndex::open(faulty, "as", false, false, error);
  ASSERT_TRUE(index);
  faulty.switches.fail_reads = true;
  EXPECT_FALSE(index->first());
  EXPECT_EQ(index->error().kind, TableErrorKind::ReadError);
  faulty.switches.fail_reads = false;
  EXPECT_TRUE(index->first());
}

TEST_F(NtxDamaged, ReadOnlyOpenRefusesChanges) {
  auto index = open("as", false, true);
  ASSERT_TRUE(index) << error.message();
  bool missing = false;
  EXPECT_FALSE(index->update(std::nullopt, padded("A", 10), 1, missing));
  EXPECT_EQ(index->error().kind, TableErrorKind::WriteNotAllowed);
  EXPECT_FALSE(index->zap());
  EXPECT_FALSE(index->rebuild(source_of(entries)));
  EXPECT_TRUE(index->first());
  EXPECT_EQ(bytes("as.ntx"), pristine);
}

TEST_F(NtxDamaged, ClosedIndexRefusesEveryCall) {
  auto index = open("as");
  EXPECT_TRUE(index->close());
  EXPECT_FALSE(index->first());
  EXPECT_TRUE(index->error());
}

}  // namespace
}  // namespace intra::testing
