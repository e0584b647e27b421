// Bulk building: the right-edge repair at every level, sorting through a
// temporary file, and failures of that file.
#include <gtest/gtest.h>

#include <random>

#include "ntx_test_support.h"

namespace intra::testing {
namespace {

using NtxBulkBuild = NtxTest;

std::vector<KeyEntry> numbered_keys(std::size_t n, int key_size) {
  std::vector<KeyEntry> entries;
  for (std::size_t i = 0; i < n; ++i) entries.push_back({padded("K" + std::to_string(1000000 + i), key_size), std::uint32_t(i + 1)});
  return entries;
}

// Counts around the points where a level fills up: m = 50 gives 51 keys
// per leaf with its separator, 51 * 51 for two full levels, 51^3 for three.
TEST_F(NtxBulkBuild, EveryPageButTheRootIsAtLeastHalfFullForAnyCount) {
  const std::vector<std::size_t> counts = {0,    1,    24,   25,   26,   49,   50,   51,    52,    75,    76,   100,
                                           101,  102,  127,  152,  153,  1274, 1275, 2549,  2550,  2551,  2600, 2601,
                                           2602, 2626, 2627, 2652, 5202, 132650, 132651, 132652};
  auto index = build("fill", key_definition(10), {});
  for (std::size_t n : counts) {
    const std::vector<KeyEntry> entries = numbered_keys(n, 10);
    ASSERT_TRUE(index->rebuild(source_of(entries))) << index->error().message();
    const auto problems = index->check();
    EXPECT_TRUE(problems.empty()) << n << " keys: " << problems.front();
    const auto walked = entries_of(*index);
    ASSERT_EQ(walked.size(), n);
    for (std::size_t i = 0; i < n; i += 97) EXPECT_EQ(walked[i].second, entries[i].recno) << n;
  }
}

TEST_F(NtxBulkBuild, DeepTreesOfTwoKeysAPageRepairEveryLevelOfTheRightEdge) {
  auto index = build("deep", key_definition(200), {});
  for (std::size_t n = 0; n <= 400; ++n) {
    const std::vector<KeyEntry> entries = numbered_keys(n, 200);
    ASSERT_TRUE(index->rebuild(source_of(entries))) << index->error().message();
    const auto problems = index->check();
    ASSERT_TRUE(problems.empty()) << n << " keys: " << problems.front();
    ASSERT_EQ(entries_of(*index).size(), n);
  }
}

TEST_F(NtxBulkBuild, KeysArePaddedWithSpacesOrCutToTheKeySize) {
  auto index = build("pad", key_definition(6), {{"AB", 1}, {"ABCDEFGHIJ", 2}, {"", 3}});
  using Entries = std::vector<std::pair<std::string, std::uint32_t>>;
  EXPECT_EQ(entries_of(*index), (Entries{{"      ", 3}, {"AB    ", 1}, {"ABCDEF", 2}}));
}

struct RunCase {
  const char* name;
  int key_size;
  bool unique;
  bool descending;
};

class NtxSortRuns : public NtxTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(NtxSortRuns, TemporaryFileGivesTheSameBytesAsSortingInMemory) {
  const RunCase c = GetParam();
  std::mt19937 random(7);
  std::vector<KeyEntry> entries;
  for (std::uint32_t recno = 1; recno <= 20000; ++recno)
    entries.push_back({padded(std::to_string(random() % 3000), c.key_size), recno});
  const NtxDefinition d = key_definition(c.key_size, c.unique, c.descending);
  build("memory", d, entries);
  NtxBuildOptions small;
  small.memory_budget = 4096;  // about a hundred pairs a run
  auto index = build("runs", d, entries, false, small);
  ASSERT_TRUE(index);
  EXPECT_EQ(bytes("runs.ntx"), bytes("memory.ntx"));
  EXPECT_TRUE(files.list("*.tmp").empty());
  ASSERT_TRUE(index->rebuild(source_of(entries), small));
  EXPECT_EQ(bytes("runs.ntx").substr(1024), bytes("memory.ntx").substr(1024));
  EXPECT_TRUE(files.list("*.tmp").empty());
}

INSTANTIATE_TEST_SUITE_P(Orders, NtxSortRuns,
                         ::testing::Values(RunCase{"Ascending", 10, false, false}, RunCase{"Descending", 12, false, true},
                                           RunCase{"Unique", 4, true, false}, RunCase{"ShortKeys", 3, false, false}),
                         [](const ::testing::TestParamInfo<RunCase>& param) { return std::string(param.param.name); });

TEST_F(NtxBulkBuild, SortFileThatCannotBeCreatedFailsTheCreation) {
  FaultyFileSystem faulty(files);
  faulty.refuse_open = [](std::string_view name) { return name.size() > 4 && name.substr(name.size() - 4) == ".TMP"; };
  const std::vector<KeyEntry> entries = numbered_keys(1000, 10);
  NtxBuildOptions small;
  small.memory_budget = 4096;
  EXPECT_FALSE(NtxIndex::create(faulty, "t", key_definition(10), source_of(entries), false, error, small));
  EXPECT_EQ(error.kind, TableErrorKind::IndexCreateError);
  EXPECT_NE(error.message().find("sort file"), std::string::npos) << error.message();
  EXPECT_FALSE(files.exists("t.ntx"));
  // The same build fits in memory with the default budget.
  EXPECT_TRUE(NtxIndex::create(faulty, "t", key_definition(10), source_of(entries), false, error)) << error.message();
}

TEST_F(NtxBulkBuild, WriteFailureFailsTheCreationAndLeavesNoFile) {
  FaultyFileSystem faulty(files);
  faulty.switches.writes_before_failure = 0;
  const std::vector<KeyEntry> entries = numbered_keys(10, 10);
  EXPECT_FALSE(NtxIndex::create(faulty, "w", key_definition(10), source_of(entries), false, error));
  EXPECT_EQ(error.kind, TableErrorKind::IndexCreateError);
  EXPECT_EQ(error.os_code, 39);  // disk full
  EXPECT_FALSE(files.exists("w.ntx"));
}

}  // namespace
}  // namespace intra::testing
