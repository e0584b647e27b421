// The bytes of index files: header, pages, splits, the empty index and
// the opening checks.
#include <gtest/gtest.h>

#include "ntx_test_support.h"
#include "storage/ntx_header.h"

namespace intra::testing {
namespace {

using NtxFormat = NtxTest;

// A page as a bulk build writes it: slot table in slot order, the items in
// the first slots, every other byte zero.
std::string expected_page(int key_size, const std::vector<std::pair<std::uint32_t, std::string>>& items,
                          std::uint32_t rightmost = 0) {
  const int m = ntx_max_keys_for(key_size);
  std::string page(1024, '\0');
  page.replace(0, 2, le16(static_cast<unsigned>(items.size())));
  for (int i = 0; i <= m; ++i) page.replace(2 + 2 * i, 2, le16(static_cast<unsigned>(2 * m + 4 + i * (key_size + 8))));
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::size_t at = 2 * m + 4 + i * (key_size + 8);
    page.replace(at, 4, le32(0));
    page.replace(at + 4, 4, le32(items[i].first));
    page.replace(at + 8, key_size, padded(items[i].second, key_size));
  }
  page.replace(2 * m + 4 + items.size() * (key_size + 8), 4, le32(rightmost));
  return page;
}

TEST_F(NtxFormat, BuildOfThreeRecordsGivesTheDocumentedBytes) {
  build("as", key_definition(10), {{padded("B", 10), 1}, {padded("A", 10), 2}, {padded("C", 10), 3}});
  const std::string b = bytes("as.ntx");
  ASSERT_EQ(b.size(), 2048u);

  std::string header(1024, '\0');
  header.replace(0, 2, le16(6));
  header.replace(2, 2, le16(1));  // one header write: the one of the build
  header.replace(4, 4, le32(1024));
  header.replace(8, 4, le32(0));
  header.replace(12, 2, le16(18));
  header.replace(14, 2, le16(10));
  header.replace(16, 2, le16(0));
  header.replace(18, 2, le16(50));
  header.replace(20, 2, le16(25));
  header.replace(22, 4, "NAME");
  EXPECT_EQ(b.substr(0, 1024), header);

  EXPECT_EQ(b.substr(1024), expected_page(10, {{2, "A"}, {1, "B"}, {3, "C"}}));
  // The documented landmarks of that page.
  EXPECT_EQ(u16_at(b, 1024 + 2), 104u);
  EXPECT_EQ(u16_at(b, 1024 + 2 + 2 * 50), 1004u);
  EXPECT_EQ(u32_at(b, 1024 + 104 + 4), 2u);
  EXPECT_EQ(b.substr(1024 + 104 + 8, 10), "A         ");
  EXPECT_EQ(u32_at(b, 1024 + 158), 0u);
}

TEST_F(NtxFormat, EmptyTableGivesHeaderAndOneEmptyRootPage) {
  build("empty", key_definition(10), {});
  const std::string b = bytes("empty.ntx");
  ASSERT_EQ(b.size(), 2048u);
  EXPECT_EQ(u32_at(b, 4), 1024u);
  EXPECT_EQ(u32_at(b, 8), 0u);
  EXPECT_EQ(b.substr(1024), expected_page(10, {}));
}

TEST_F(NtxFormat, MaximumKeysPerPageFollowsTheKeySize) {
  const std::vector<std::pair<int, int>> cases = {{10, 50}, {8, 54},  {30, 24},  {1, 90},  {2, 84},
                                                  {100, 8}, {200, 2}, {246, 2},  {256, 2}, {21, 30}};
  for (const auto& [key_size, m] : cases) {
    EXPECT_EQ(ntx_max_keys_for(key_size), m) << key_size;
    auto index = build("m" + std::to_string(key_size), key_definition(key_size), {});
    const std::string b = bytes("m" + std::to_string(key_size) + ".ntx");
    EXPECT_EQ(u16_at(b, 18), static_cast<unsigned>(m)) << key_size;
    EXPECT_EQ(u16_at(b, 20), static_cast<unsigned>(m / 2)) << key_size;
    EXPECT_EQ(index->max_keys(), m);
  }
}

// 51 keys of size 10: one of the 51 in the middle of 50 others arrives last.
class NtxSplitOf51stKey : public NtxTest, public ::testing::WithParamInterface<int> {};

TEST_P(NtxSplitOf51stKey, GivesTwentyFiveSeparatorTwentyFive) {
  const int last_rank = GetParam();
  auto index = build("split", key_definition(10), {});
  auto key_of = [](int rank) { return padded("K" + std::to_string(100 + rank), 10); };
  bool missing = false;
  for (int rank = 0; rank <= 50; ++rank) {
    if (rank != last_rank) {
      ASSERT_TRUE(index->update(std::nullopt, key_of(rank), static_cast<std::uint32_t>(rank + 1), missing));
    }
  }
  EXPECT_EQ(bytes("split.ntx").size(), 2048u);  // 50 keys still fit the root leaf
  ASSERT_TRUE(index->update(std::nullopt, key_of(last_rank), static_cast<std::uint32_t>(last_rank + 1), missing));

  const std::string b = bytes("split.ntx");
  ASSERT_EQ(b.size(), 4096u);
  // The new left page came first (2048), the new root after it (3072); the
  // old leaf at 1024 keeps the upper half.
  EXPECT_EQ(u32_at(b, 4), 3072u);
  const std::size_t root = 3072;
  EXPECT_EQ(u16_at(b, root), 1u);
  const unsigned root_slot = u16_at(b, root + 2);
  EXPECT_EQ(u32_at(b, root + root_slot), 2048u);
  EXPECT_EQ(b.substr(root + root_slot + 8, 10), key_of(25));
  EXPECT_EQ(u32_at(b, root + u16_at(b, root + 4)), 1024u);
  EXPECT_EQ(u16_at(b, 2048), 25u);
  EXPECT_EQ(u16_at(b, 1024), 25u);
  EXPECT_EQ(b.substr(2048 + u16_at(b, 2048 + 2) + 8, 10), key_of(0));
  EXPECT_EQ(b.substr(1024 + u16_at(b, 1024 + 2) + 8, 10), key_of(26));
  EXPECT_TRUE(index->check().empty());
  EXPECT_EQ(entries_of(*index).size(), 51u);
}

INSTANTIATE_TEST_SUITE_P(RankOfTheLastKey, NtxSplitOf51stKey, ::testing::Values(0, 10, 24, 25, 26, 50));

TEST_F(NtxFormat, BulkBuildOf51KeysRepairsTheRightEdgeToTheSameShape) {
  std::vector<KeyEntry> entries;
  for (int i = 0; i < 51; ++i) entries.push_back({padded("K" + std::to_string(100 + i), 10), static_cast<std::uint32_t>(i + 1)});
  build("bulk", key_definition(10), entries);
  const std::string b = bytes("bulk.ntx");
  // Full leaf closed first (1024), the last leaf (2048), the root (3072).
  ASSERT_EQ(b.size(), 4096u);
  EXPECT_EQ(u32_at(b, 4), 3072u);
  EXPECT_EQ(u16_at(b, 1024), 25u);
  EXPECT_EQ(u16_at(b, 2048), 25u);
  EXPECT_EQ(u16_at(b, 3072), 1u);
  EXPECT_EQ(b.substr(3072 + u16_at(b, 3072 + 2) + 8, 10), padded("K125", 10));
}

TEST_F(NtxFormat, FullHeaderCarriesEveryDefinitionField) {
  NtxDefinition d = key_definition(12, true, true);
  d.key_expression = "UPPER(NAZWA)";
  d.condition = "ILOSC>0";
  d.key_decimals = 2;
  d.custom = true;
  d.order_name = "BYNAME";
  d.extended_locks = true;
  build("full", d, {});
  const std::string b = bytes("full.ntx");
  EXPECT_EQ(u16_at(b, 0), 0x27u);
  EXPECT_EQ(u16_at(b, 12), 20u);
  EXPECT_EQ(u16_at(b, 16), 2u);
  EXPECT_EQ(b.substr(22, 13), std::string("UPPER(NAZWA)") + '\0');
  EXPECT_EQ(b[278], 1);
  EXPECT_EQ(b[280], 1);
  EXPECT_EQ(b.substr(282, 8), std::string("ILOSC>0") + '\0');
  EXPECT_EQ(b.substr(538, 7), std::string("BYNAME") + '\0');
  EXPECT_EQ(b[550], 1);

  auto index = open("full");
  ASSERT_TRUE(index) << error.message();
  const NtxDefinition& back = index->definition();
  EXPECT_EQ(back.key_expression, d.key_expression);
  EXPECT_EQ(back.condition, d.condition);
  EXPECT_EQ(back.key_size, 12);
  EXPECT_EQ(back.key_decimals, 2);
  EXPECT_TRUE(back.unique && back.descending && back.custom && back.extended_locks);
  EXPECT_EQ(index->order_name(), "BYNAME");
}

TEST_F(NtxFormat, OrderNameFallsBackToTheFileNameInCapitals) {
  files.make_directory("sub");
  build("sub\\Kontr.ntx", key_definition(4), {});
  EXPECT_EQ(open("sub\\Kontr.ntx")->order_name(), "KONTR");
  // A first byte of 20 or below at 538 is no name.
  patch("sub\\Kontr.ntx", 538, std::string("\x14XYZ", 4));
  EXPECT_EQ(open("sub\\Kontr.ntx")->order_name(), "KONTR");
  patch("sub\\Kontr.ntx", 538, "byno");
  EXPECT_EQ(open("sub\\Kontr.ntx")->order_name(), "BYNO");
}

TEST_F(NtxFormat, IndexFileNameGetsTheExtensionWhenItHasNone) {
  EXPECT_EQ(NtxIndex::index_file_name("as"), "as.ntx");
  EXPECT_EQ(NtxIndex::index_file_name("24\\05\\as"), "24\\05\\as.ntx");
  EXPECT_EQ(NtxIndex::index_file_name("as.idx"), "as.idx");
  EXPECT_EQ(NtxIndex::index_file_name("d.x\\as"), "d.x\\as.ntx");
}

TEST_F(NtxFormat, ConditionWordBitGovernsTheCondition) {
  NtxDefinition d = key_definition(4);
  d.condition = "X>1";
  build("cond", d, {});
  EXPECT_EQ(u16_at(bytes("cond.ntx"), 0), 7u);
  patch("cond.ntx", 0, le16(6));
  auto index = open("cond");
  ASSERT_TRUE(index);
  EXPECT_EQ(index->definition().condition, "");
}

struct DamagedHeader {
  const char* name;
  std::size_t offset;
  std::string bytes;
  const char* detail;
};

TEST_F(NtxFormat, OpeningRefusesDamagedHeaders) {
  const std::vector<DamagedHeader> cases = {
      {"type word 0x46", 0, le16(0x46), "type word 0x46"},
      {"type word 0x40", 0, le16(0x40), "type word 0x40"},
      {"key text starting below 0x20", 22, std::string(1, '\x1F'), "key expression starts with byte 0x1F"},
      {"key size 0", 14, le16(0), "key size 0"},
      {"item size", 12, le16(17), "item size 17"},
      {"maximum keys beyond the page", 18, le16(51), "maximum keys 51"},
  };
  for (const DamagedHeader& c : cases) {
    build("as", key_definition(10), {{padded("A", 10), 1}});
    patch("as.ntx", c.offset, c.bytes);
    EXPECT_FALSE(open("as")) << c.name;
    EXPECT_EQ(error.kind, TableErrorKind::Corruption) << c.name;
    EXPECT_NE(error.message().find(std::string("Corruption detected: ") + c.detail), std::string::npos)
        << c.name << ": " << error.message();
    EXPECT_NE(error.message().find("in as.ntx"), std::string::npos) << error.message();
  }
  build("as", key_definition(10), {});
  write_bytes("as.ntx", bytes("as.ntx").substr(0, 1000));
  EXPECT_FALSE(open("as"));
  EXPECT_EQ(error.kind, TableErrorKind::Corruption);
}

TEST_F(NtxFormat, DefinitionsThatCannotBeStoredAreRefused) {
  const std::vector<std::pair<const char*, std::function<void(NtxDefinition&)>>> cases = {
      {"key size 0", [](NtxDefinition& d) { d.key_size = 0; }},
      {"key size 257", [](NtxDefinition& d) { d.key_size = 257; }},
      {"no expression", [](NtxDefinition& d) { d.key_expression.clear(); }},
      {"expression of 256 bytes", [](NtxDefinition& d) { d.key_expression.assign(256, 'A'); }},
      {"order name of 13 bytes", [](NtxDefinition& d) { d.order_name = "ABCDEFGHIJKLM"; }},
  };
  for (const auto& [name, change] : cases) {
    NtxDefinition d = key_definition(10);
    change(d);
    EXPECT_FALSE(NtxIndex::create(files, "bad", d, source_of({}), false, error)) << name;
    EXPECT_EQ(error.kind, TableErrorKind::IndexCreateError) << name;
    EXPECT_FALSE(files.exists("bad.ntx")) << name;
  }
}

TEST_F(NtxFormat, VersionCountsHeaderWrites) {
  std::vector<KeyEntry> entries = {{padded("A", 10), 1}};
  auto index = build("ver", key_definition(10), entries);
  EXPECT_EQ(u16_at(bytes("ver.ntx"), 2), 1u);
  bool missing = false;
  // Exclusive: a change inside the root page leaves the header alone.
  ASSERT_TRUE(index->update(std::nullopt, padded("B", 10), 2, missing));
  EXPECT_EQ(u16_at(bytes("ver.ntx"), 2), 1u);
  ASSERT_TRUE(index->rebuild(source_of(entries)));
  EXPECT_EQ(u16_at(bytes("ver.ntx"), 2), 2u);
  ASSERT_TRUE(index->zap());
  const std::string b = bytes("ver.ntx");
  EXPECT_EQ(u16_at(b, 2), 3u);
  EXPECT_EQ(b.size(), 2048u);
  EXPECT_EQ(b.substr(1024), expected_page(10, {}));
  EXPECT_EQ(u16_at(b, 14), 10u);
  EXPECT_FALSE(index->first());
  EXPECT_TRUE(index->eof());
}

}  // namespace
}  // namespace intra::testing
