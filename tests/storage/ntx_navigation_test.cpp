// Seeking, stepping and updating through the current position of an index.
#include <gtest/gtest.h>

#include "ntx_test_support.h"

namespace intra::testing {
namespace {

using NtxNavigation = NtxTest;
using Entries = std::vector<std::pair<std::string, std::uint32_t>>;

std::vector<KeyEntry> keyed(const std::vector<std::string>& keys, int size) {
  std::vector<KeyEntry> out;
  for (std::size_t i = 0; i < keys.size(); ++i) out.push_back({padded(keys[i], size), static_cast<std::uint32_t>(i + 1)});
  return out;
}

TEST_F(NtxNavigation, SeekComparesOverTheSearchKeysLength) {
  auto index = build("s", key_definition(10), keyed({"ABC", "ABD", "B"}, 10));
  struct Case {
    std::string search;
    bool on_key, found;
    std::string lands_on;
  };
  const std::vector<Case> cases = {
      {"AB", true, true, "ABC"},    {"ABC", true, true, "ABC"},         {"ABC       ", true, true, "ABC"},
      {"ABCA", true, false, "ABD"}, {"ABZ", true, false, "B"},           {"", true, true, "ABC"},
      {"C", false, false, ""},      {"ABC        LONGER", true, true, "ABC"},
  };
  for (const Case& c : cases) {
    bool found = true;
    EXPECT_EQ(index->seek(c.search, found), c.on_key) << c.search;
    EXPECT_EQ(found, c.found) << c.search;
    EXPECT_EQ(index->current_key(), c.lands_on.empty() ? "" : padded(c.lands_on, 10)) << c.search;
    EXPECT_EQ(index->eof(), !c.on_key) << c.search;
  }
}

TEST_F(NtxNavigation, DescendingIndexReversesEveryComparison) {
  auto index = build("d", key_definition(4, false, true), keyed({"B", "D", "A", "C", "E"}, 4));
  Entries expected = {{"E   ", 5}, {"D   ", 2}, {"C   ", 4}, {"B   ", 1}, {"A   ", 3}};
  EXPECT_EQ(entries_of(*index), expected);
  bool found = false;
  EXPECT_TRUE(index->seek("C", found));
  EXPECT_TRUE(found);
  EXPECT_TRUE(index->seek("BZ", found));  // "B   " is the first key not before "BZ"
  EXPECT_FALSE(found);
  EXPECT_EQ(index->current_key(), "B   ");
  bool missing = false;
  ASSERT_TRUE(index->update(std::nullopt, std::string("F   "), 6, missing));
  ASSERT_TRUE(index->first());
  EXPECT_EQ(index->current_key(), "F   ");
  EXPECT_TRUE(index->check().empty());
}

TEST_F(NtxNavigation, UniqueIndexKeepsTheFirstOfEqualKeys) {
  auto index = build("u", key_definition(4, true), keyed({"A", "B", "A"}, 4));
  EXPECT_EQ(entries_of(*index), (Entries{{"A   ", 1}, {"B   ", 2}}));
  bool missing = false;
  ASSERT_TRUE(index->update(std::nullopt, std::string("B   "), 7, missing));
  ASSERT_TRUE(index->update(std::nullopt, std::string("AA  "), 8, missing));
  EXPECT_EQ(entries_of(*index), (Entries{{"A   ", 1}, {"AA  ", 8}, {"B   ", 2}}));
  EXPECT_TRUE(index->check().empty());
}

TEST_F(NtxNavigation, EqualKeysKeepInsertionOrderUntilARebuildPutsThemInRecordOrder) {
  auto index = build("e", key_definition(4), {});
  bool missing = false;
  for (std::uint32_t recno : {5u, 2u, 9u, 1u}) ASSERT_TRUE(index->update(std::nullopt, std::string("X   "), recno, missing));
  EXPECT_EQ(entries_of(*index), (Entries{{"X   ", 5}, {"X   ", 2}, {"X   ", 9}, {"X   ", 1}}));
  EXPECT_TRUE(index->find("X", 9));
  EXPECT_EQ(index->current_recno(), 9u);
  ASSERT_TRUE(index->rebuild(source_of(std::vector<KeyEntry>{{"X", 1}, {"X", 2}, {"X", 5}, {"X", 9}})));
  EXPECT_EQ(entries_of(*index), (Entries{{"X   ", 1}, {"X   ", 2}, {"X   ", 5}, {"X   ", 9}}));
}

TEST_F(NtxNavigation, DeletingTheOnlyKeyLeavesAnEmptyRootPage) {
  auto index = build("one", key_definition(10), keyed({"A"}, 10));
  bool missing = true;
  ASSERT_TRUE(index->update(padded("A", 10), std::nullopt, 1, missing));
  EXPECT_FALSE(missing);
  const std::string b = bytes("one.ntx");
  ASSERT_EQ(b.size(), 2048u);
  EXPECT_EQ(u32_at(b, 4), 1024u);
  EXPECT_EQ(u32_at(b, 8), 0u);
  EXPECT_EQ(u16_at(b, 1024), 0u);
  EXPECT_FALSE(index->first());
  EXPECT_TRUE(index->eof());
  EXPECT_TRUE(index->bof());
  EXPECT_TRUE(index->check().empty());
}

TEST_F(NtxNavigation, StepsRunThroughTheKeysAndStopAtBothEnds) {
  std::vector<std::string> keys;
  for (int i = 0; i < 300; ++i) keys.push_back("K" + std::to_string(1000 + i));
  auto index = build("w", key_definition(30), keyed(keys, 30));  // 24 keys a page: three levels
  ASSERT_TRUE(index->first());
  int seen = 1;
  while (index->next()) {
    EXPECT_EQ(index->current_key(), padded(keys[static_cast<std::size_t>(seen)], 30));
    ++seen;
  }
  EXPECT_EQ(seen, 300);
  EXPECT_TRUE(index->eof());
  EXPECT_FALSE(index->next());  // stays at the end
  ASSERT_TRUE(index->prev());   // from the end to the last key
  EXPECT_EQ(index->current_recno(), 300u);
  while (index->prev()) --seen;
  EXPECT_EQ(seen, 1);
  EXPECT_TRUE(index->bof());
  EXPECT_FALSE(index->prev());
  ASSERT_TRUE(index->next());
  EXPECT_EQ(index->current_recno(), 1u);
  ASSERT_TRUE(index->last());
  EXPECT_EQ(index->current_recno(), 300u);
}

TEST_F(NtxNavigation, FindPositionsOnTheItemOrAtTheEnd) {
  auto index = build("f", key_definition(4), keyed({"A", "B", "A", "B", "A"}, 4));
  EXPECT_TRUE(index->find("A", 3));
  EXPECT_EQ(index->current_recno(), 3u);
  ASSERT_TRUE(index->next());
  EXPECT_EQ(index->current_recno(), 5u);
  EXPECT_FALSE(index->find("A", 2));  // record 2 has key B
  EXPECT_TRUE(index->eof());
  EXPECT_FALSE(index->find("C", 1));
}

TEST_F(NtxNavigation, StepAfterAnUpdateSearchesTheSavedKeyAgain) {
  auto index = build("r", key_definition(4), keyed({"A", "C", "E"}, 4));
  bool found = false;
  ASSERT_TRUE(index->seek("C", found));
  EXPECT_TRUE(index->path_valid());
  bool missing = false;
  ASSERT_TRUE(index->update(std::nullopt, std::string("D   "), 4, missing));
  EXPECT_FALSE(index->path_valid());
  ASSERT_TRUE(index->next());
  EXPECT_EQ(index->current_key(), "D   ");
  // The current item moves away: the next step cannot find it and ends.
  ASSERT_TRUE(index->update(std::string("D   "), std::string("Z   "), 4, missing));
  EXPECT_FALSE(index->next());
  EXPECT_TRUE(index->eof());
}

TEST_F(NtxNavigation, MissingOldKeyIsReportedAndTheNewOneStillGoesIn) {
  auto index = build("m", key_definition(4), keyed({"A"}, 4));
  bool missing = false;
  ASSERT_TRUE(index->update(std::string("Q   "), std::string("B   "), 1, missing));
  EXPECT_TRUE(missing);
  EXPECT_EQ(entries_of(*index), (Entries{{"A   ", 1}, {"B   ", 1}}));
}

// Key size 10, 51 keys built in bulk: a root (3072) over a left leaf of 25
// keys (1024) and a right leaf of 25 keys (2048).
class NtxTwoLeaves : public NtxTest {
 protected:
  void SetUp() override {
    for (int i = 0; i < 51; ++i) entries.push_back({padded("K" + std::to_string(100 + i), 10), std::uint32_t(i + 1)});
    index = build("two", key_definition(10), entries);
  }
  std::string key(int i) const { return entries[static_cast<std::size_t>(i)].key; }
  std::vector<KeyEntry> entries;
  std::unique_ptr<NtxIndex> index;
  bool missing = false;
};

TEST_F(NtxTwoLeaves, DeletingTheRootKeyTakesItsPredecessorThenMergesAndCollapses) {
  ASSERT_TRUE(index->update(key(25), std::nullopt, 26, missing));
  const std::string b = bytes("two.ntx");
  // K124 replaced K125 in the root; the left leaf (24 keys) merged with the
  // right one (25) into 50 keys; the emptied root went, the left leaf is
  // the root. Freed: the right leaf first, then the old root.
  EXPECT_EQ(u32_at(b, 4), 1024u);
  EXPECT_EQ(u16_at(b, 1024), 50u);
  EXPECT_EQ(u32_at(b, 8), 3072u);
  EXPECT_EQ(u16_at(b, 3072), 0u);
  EXPECT_EQ(u32_at(b, 3072 + u16_at(b, 3072 + 2)), 2048u);
  EXPECT_EQ(u16_at(b, 2048), 0u);
  EXPECT_EQ(u32_at(b, 2048 + u16_at(b, 2048 + 2)), 0u);
  EXPECT_TRUE(index->check().empty());
  EXPECT_EQ(entries_of(*index).size(), 50u);
  // The next split takes the head of the free list for its new left page
  // and the next free page for the new root.
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(index->update(std::nullopt, padded("Z" + std::to_string(i), 10), 90, missing));
  EXPECT_EQ(u32_at(bytes("two.ntx"), 8), 0u);
  EXPECT_EQ(u32_at(bytes("two.ntx"), 4), 2048u);
  EXPECT_EQ(u16_at(bytes("two.ntx"), 3072), 25u);
  EXPECT_EQ(bytes("two.ntx").size(), 4096u);
  EXPECT_TRUE(index->check().empty());
}

TEST_F(NtxTwoLeaves, UnderflowWithAFullerSiblingRedistributes) {
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(index->update(std::nullopt, padded("L" + std::to_string(i), 10), 80, missing));
  // Right leaf 30 keys; the left one drops to 24.
  ASSERT_TRUE(index->update(key(0), std::nullopt, 1, missing));
  const std::string b = bytes("two.ntx");
  EXPECT_EQ(u32_at(b, 4), 3072u);
  EXPECT_EQ(u16_at(b, 1024), 27u);  // (24 + 30 + 1) div 2
  EXPECT_EQ(u16_at(b, 2048), 27u);
  EXPECT_EQ(b.substr(3072 + u16_at(b, 3072 + 2) + 8, 10), key(28));
  EXPECT_TRUE(index->check().empty());
}

}  // namespace
}  // namespace intra::testing
