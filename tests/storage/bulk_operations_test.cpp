#include <gtest/gtest.h>

#include "work_area_fixture.h"

namespace intra {
namespace {

using testing::WorkAreaFixture;

const std::vector<FieldSpec> kItems = {{"KODTOWARU", 'C', 8, 0}, {"KRAJ", 'C', 2, 0}, {"NAZWA", 'C', 10, 0},
                                       {"WARTOSC", 'N', 10, 0}, {"MASA", 'N', 8, 0}, {"UWAGI", 'M', 10, 0}};

struct BulkTest : ::testing::Test, WorkAreaFixture {
  void SetUp() override {
    make("euro01", kItems,
         {{"8471", "DE", "Laptop", 100, 3, "first"},
          {"8471", "DE", "Tablet", 50, 1, ""},
          {"8471", "FR", "Laptop", 70, 2, ""},
          {"0101", "DE", "Horse", 0, 0, "memo"},
          {"8471", "DE", "Phone", 30, 1, ""}},
         {2});
  }
};

TEST_F(BulkTest, CopyWritesTheRecordsPassingTheConditionWithTheirMemos) {
  ASSERT_TRUE(use(1, "euro01", "euro"));
  ASSERT_TRUE(DBCOPY("kopia", [] { return FIELDGET("KRAJ").text() == "DE"; }));
  ASSERT_TRUE(use(2, "kopia", "kopia"));
  EXPECT_EQ(AFIELDS().size(), kItems.size());
  EXPECT_EQ(column("NAZWA"), (std::vector<std::string>{"Laptop", "Horse", "Phone"}));
  DBGOTOP();
  EXPECT_EQ(FIELDGET("UWAGI").text(), "first");
  DBSKIP();
  EXPECT_EQ(FIELDGET("UWAGI").text(), "memo");

  // Shown deleted records are copied with their mark.
  DBSELECTAREA(1);
  {
    ShowDeletedRecords shown;
    ASSERT_TRUE(DBCOPY("kopia2"));
  }
  ASSERT_TRUE(use(3, "kopia2", "kopia2"));
  EXPECT_EQ(LASTREC(), 5u);
  DBGOTO(2);
  EXPECT_TRUE(DELETED());
  EXPECT_TRUE(handler.errors.empty());
}

TEST_F(BulkTest, AppendMatchesFieldsByName) {
  // The target lacks MASA and UWAGI, has a new field, a narrower name and
  // the value as text.
  make("cel", {{"NOWE", 'C', 3, 0}, {"NAZWA", 'C', 4, 0}, {"KODTOWARU", 'C', 8, 0}, {"WARTOSC", 'C', 6, 0}}, {});
  ASSERT_TRUE(use(1, "cel", "cel"));
  ASSERT_TRUE(DBAPP("euro01"));
  EXPECT_EQ(LASTREC(), 4u);  // the deleted record stays out
  EXPECT_EQ(column("NAZWA"), (std::vector<std::string>{"Lapt", "Lapt", "Hors", "Phon"}));
  EXPECT_EQ(column("WARTOSC"), (std::vector<std::string>{"100", "70", "0", "30"}));
  EXPECT_EQ(column("NOWE"), (std::vector<std::string>{"", "", "", ""}));

  // Text back into numbers; shown deleted records come over deleted.
  ASSERT_TRUE(DBCLOSEAREA());  // a table open exclusively cannot be read by another open
  make("liczby", {{"WARTOSC", 'N', 5, 1}, {"KRAJ", 'C', 2, 0}}, {});
  ASSERT_TRUE(use(2, "liczby", "liczby"));
  ASSERT_TRUE(DBAPP("cel"));
  EXPECT_EQ(column("WARTOSC"), (std::vector<std::string>{"100", "70", "0", "30"}));
  {
    ShowDeletedRecords shown;
    ASSERT_TRUE(DBAPP("euro01"));
  }
  EXPECT_EQ(LASTREC(), 9u);
  DBGOTO(6);
  EXPECT_TRUE(DELETED());
  EXPECT_EQ(FIELDGET("WARTOSC").number(), 50);
  EXPECT_TRUE(handler.errors.empty());
}

TEST_F(BulkTest, AppendOfSameTypesSkipsOtherTypesAndRecordsItCannotAppendInASecond) {
  make("as", {{"NAZWA", 'C', 10, 0}, {"WARTOSC", 'C', 6, 0}, {"MASA", 'N', 8, 0}}, {});
  ASSERT_TRUE(use(1, "as", "as", true));
  ASSERT_TRUE(DBAPP("euro01", AppendMatch::SameTypeOnly));
  EXPECT_EQ(column("WARTOSC"), (std::vector<std::string>{"", "", "", ""}));
  EXPECT_EQ(column("MASA"), (std::vector<std::string>{"3", "2", "0", "1"}));
  ASSERT_TRUE(DBUNLOCK());

  auto other_station = open("as", true);
  ASSERT_TRUE(other_station && other_station->lock_file());
  const double before = static_cast<double>(clock.elapsed().count());
  EXPECT_TRUE(DBAPP("euro01", AppendMatch::SameTypeOnly));
  EXPECT_EQ(LASTREC(), 4u);  // every record skipped
  EXPECT_EQ(static_cast<double>(clock.elapsed().count()) - before, 4 * 1000.0);
  EXPECT_TRUE(handler.errors.empty());

  // The plain append asks the user instead of dropping records.
  EXPECT_FALSE(DBAPP("euro01"));
  ASSERT_EQ(handler.errors.size(), 1u);
  EXPECT_EQ(handler.errors[0].specific_code, 1024);
}

TEST_F(BulkTest, TotalKeepsEachRunsFirstRecordAndSumsTheListedFields) {
  ASSERT_TRUE(use(1, "euro01", "euro"));
  ASSERT_TRUE(DBCREATEINDEX("euro1", "kodtowaru+kraj"));
  ASSERT_TRUE(DBTOTAL("euro_01", "kodtowaru+kraj", {"wartosc", "masa"}));
  ASSERT_TRUE(use(2, "euro_01", "suma"));
  EXPECT_EQ(FIELDPOS("UWAGI"), 0);  // memo fields are left out
  EXPECT_EQ(column("NAZWA"), (std::vector<std::string>{"Horse", "Laptop", "Laptop"}));
  EXPECT_EQ(column("KRAJ"), (std::vector<std::string>{"DE", "DE", "FR"}));
  EXPECT_EQ(column("WARTOSC"), (std::vector<std::string>{"0", "130", "70"}));  // the deleted 50 stays out
  EXPECT_EQ(column("MASA"), (std::vector<std::string>{"0", "4", "2"}));

  // No field summed: the first record of every key; a condition narrows the runs.
  DBSELECTAREA(1);
  ASSERT_TRUE(DBTOTAL("pierwsze", "kodtowaru", {}, [] { return FIELDGET("WARTOSC").number() > 40; }));
  ASSERT_TRUE(use(3, "pierwsze", "pierwsze"));
  EXPECT_EQ(column("NAZWA"), (std::vector<std::string>{"Laptop"}));
  EXPECT_EQ(column("WARTOSC"), (std::vector<std::string>{"100"}));
  EXPECT_TRUE(handler.errors.empty());

  DBSELECTAREA(1);
  EXPECT_TRUE(DBTOTAL("zla", "kodtowaru", {"ILOSC"}));
  ASSERT_EQ(handler.errors.size(), 1u);
  EXPECT_EQ(handler.errors[0].summary(), "BASE/1003  No such field: EURO->ILOSC");
}

}  // namespace
}  // namespace intra
