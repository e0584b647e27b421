#include <gtest/gtest.h>

#include "main/text_comparison.h"
#include "storage/file_x.h"
#include "work_area_fixture.h"

namespace intra {
namespace {

using testing::WorkAreaFixture;

const std::vector<FieldSpec> kStock = {{"MAG", 'C', 1, 0}, {"INDEKS", 'C', 8, 0}, {"NAZWA", 'C', 20, 0},
                                       {"ILOSC", 'N', 8, 2}};

struct WorkAreaTest : ::testing::Test, WorkAreaFixture {
  void SetUp() override {
    make("as", kStock,
         {{"1", "B100", "Bolts", 5}, {"1", "A200", "Anchors", 7}, {"2", "A100", "Axes", 1}, {"1", "C300", "Clamps", 2},
          {"1", "A150", "Awls", 3}},
         {4});
  }
};

TEST_F(WorkAreaTest, AreasAreFoundByNumberAndAliasAndCloseFreesThem) {
  ASSERT_TRUE(use(3, "as", "as"));
  EXPECT_FALSE(use(7, "as", "kopia", true));  // kept out by the exclusive open in area 3
  EXPECT_TRUE(handler.errors.empty());
  EXPECT_EQ(SELECT("AS"), 3);
  EXPECT_EQ(SELECT("Kopia"), 0);
  EXPECT_TRUE(NETERR());
  EXPECT_FALSE(USED());
  EXPECT_EQ(ALIAS(3), "AS");

  EXPECT_TRUE(DBSELECTAREA(0));
  EXPECT_EQ(SELECT(), 1);  // the first unused area
  EXPECT_TRUE(DBSELECTAREA("as"));
  EXPECT_EQ(SELECT(), 3);

  EXPECT_FALSE(DBSELECTAREA("zo"));
  ASSERT_EQ(handler.errors.size(), 1u);
  EXPECT_EQ(handler.errors[0].summary(), "BASE/1002  Alias does not exist: zo");
  EXPECT_EQ(SELECT(), 3);

  EXPECT_FALSE(area("zo").get("NAZWA").logical());  // alias->field of a missing alias: error, empty value
  EXPECT_EQ(handler.errors.size(), 2u);
  EXPECT_FALSE(DBSELECTAREA(251));

  EXPECT_TRUE(DBCLOSEAREA());
  EXPECT_FALSE(USED());
  EXPECT_EQ(SELECT("as"), 0);
  EXPECT_FALSE(DBGOTOP());  // nothing open here
  EXPECT_EQ(handler.errors.back().summary(), "BASE/2001  Workarea not in use: 3");
}

TEST_F(WorkAreaTest, SharingConflictSetsTheNetworkErrorAndOtherFailuresGoToTheHandler) {
  auto other_station = open("as", false);
  ASSERT_TRUE(other_station);
  DBSELECTAREA(5);
  EXPECT_FALSE(DBUSEAREA("as", "as", true));
  EXPECT_TRUE(NETERR());
  EXPECT_TRUE(handler.errors.empty());
  other_station.reset();
  EXPECT_TRUE(DBUSEAREA("as", "as", true));
  EXPECT_FALSE(NETERR());

  DBSELECTAREA(6);
  EXPECT_FALSE(DBUSEAREA("24\\05\\dow", "dow", true));
  EXPECT_FALSE(NETERR());
  ASSERT_EQ(handler.errors.size(), 1u);
  EXPECT_EQ(handler.errors[0].specific_code, 1001);
  EXPECT_EQ(handler.errors[0].os_code, 2);
  EXPECT_TRUE(handler.errors[0].can_retry);
  EXPECT_FALSE(USED());
}

TEST_F(WorkAreaTest, FieldsByNameAndAliasAccessFromAnotherArea) {
  ASSERT_TRUE(use(2, "as", "as", true));
  EXPECT_EQ(FIELDPOS("indeks"), 2);
  EXPECT_EQ(FIELDPOS("KOD_CN"), 0);
  EXPECT_EQ(FIELDNAME(3), "NAZWA");
  EXPECT_EQ(FIELDNAME(9), "");
  EXPECT_EQ(FCOUNT(), 4);
  const std::vector<FieldSpec> fields = AFIELDS();
  ASSERT_EQ(fields.size(), 4u);
  EXPECT_EQ(fields[3].type, 'N');
  EXPECT_EQ(fields[3].width, 8);
  EXPECT_EQ(fields[3].decimals, 2);
  EXPECT_TRUE(handler.errors.empty());

  DBSELECTAREA(9);
  EXPECT_EQ(area("as").get("INDEKS").text(), "B100    ");
  // alias->(expression) is evaluated with its area selected, then the caller's again.
  const std::string text = area("as").evaluate([] { return FIELDGET("NAZWA").text() + std::to_string(SELECT()); });
  EXPECT_EQ(text, "Bolts               2");
  EXPECT_EQ(SELECT(), 9);

  // Assigning in shared use needs the record lock: an error the user sees.
  EXPECT_FALSE(area("as").put("NAZWA", Value("Nuts")));
  ASSERT_EQ(handler.errors.size(), 1u);
  EXPECT_EQ(handler.errors[0].specific_code, 1022);
  DBSELECTAREA("as");
  ASSERT_TRUE(RLOCK());
  EXPECT_TRUE(FIELDPUT("NAZWA", Value("Nuts")));
  EXPECT_FALSE(FIELDPUT("NAZWA2", Value("x")));  // a missing field is a run-time error
  EXPECT_EQ(handler.errors.back().summary(), "BASE/1003  No such field: AS->NAZWA2");
  EXPECT_TRUE(DBUNLOCK());
  EXPECT_EQ(area("as").get("NAZWA").text(), "Nuts                ");
}

TEST_F(WorkAreaTest, NavigationHidesDeletedRecordsUnlessShownAndLastrecCountsThem) {
  ASSERT_TRUE(use(1, "as", "as"));
  EXPECT_EQ(LASTREC(), 5u);
  EXPECT_EQ(column("INDEKS"), (std::vector<std::string>{"B100", "A200", "A100", "A150"}));
  DBGOTO(4);
  EXPECT_TRUE(DELETED());
  EXPECT_FALSE(EOF_());
  DBGOBOTTOM();
  EXPECT_EQ(RECNO(), 5u);
  DBSKIP();
  EXPECT_TRUE(EOF_());
  EXPECT_EQ(RECNO(), 6u);  // the phantom record past the end
  DBGOTOP();
  DBSKIP(-1);
  EXPECT_TRUE(BOF());
  EXPECT_EQ(RECNO(), 1u);
  {
    ShowDeletedRecords shown;
    EXPECT_EQ(column("INDEKS").size(), 5u);
  }
  EXPECT_EQ(column("INDEKS").size(), 4u);

  int visited = 0;
  DBGOBOTTOM();
  EXPECT_TRUE(DBEVAL([&] { ++visited; }, [] { return FIELDGET("MAG").text() == "1"; }));
  EXPECT_EQ(visited, 3);  // from the top, whatever the position before
}

TEST_F(WorkAreaTest, SeekFindsTheFirstKeyWithThePrefixAndAMissLeavesTheEnd) {
  ASSERT_TRUE(use(1, "as", "as"));
  ASSERT_TRUE(DBCREATEINDEX("as", "mag+indeks"));
  EXPECT_EQ(INDEXORD(), 1);
  EXPECT_EQ(INDEXKEY(), "mag+indeks");
  EXPECT_EQ(column("INDEKS"), (std::vector<std::string>{"A150", "A200", "B100", "A100"}));

  EXPECT_TRUE(DBSEEK(Value("1A")));
  EXPECT_TRUE(FOUND());
  EXPECT_EQ(RECNO(), 5u);
  EXPECT_FALSE(DBSEEK(Value("1C3")));  // only the deleted record has it
  EXPECT_FALSE(FOUND());
  EXPECT_TRUE(EOF_());
  EXPECT_EQ(RECNO(), 6u);
  {
    ShowDeletedRecords shown;
    EXPECT_TRUE(DBSEEK(Value("1C3")));
    EXPECT_EQ(RECNO(), 4u);
  }
  EXPECT_TRUE(DBSEEK(Value("1B")));
  DBSKIP();
  EXPECT_FALSE(FOUND());  // moving on clears it

  // Soft seek stops on the next greater key.
  EXPECT_FALSE(DBSEEK(Value("1Z"), true));
  EXPECT_EQ(FIELDGET("INDEKS").text(), "A100    ");

  EXPECT_EQ(ORDSETFOCUS(0), 1);
  EXPECT_EQ(column("INDEKS").front(), "B100");
  EXPECT_TRUE(ORDLISTCLEAR());
  EXPECT_EQ(INDEXKEY(), "");

  // The first index added controls.
  ASSERT_TRUE(DBCREATEINDEX("as_naz", "nazwa"));
  ASSERT_TRUE(ORDLISTCLEAR());
  ASSERT_TRUE(ORDLISTADD("as"));
  ASSERT_TRUE(ORDLISTADD("as_naz"));
  EXPECT_EQ(INDEXORD(), 1);
  EXPECT_EQ(INDEXKEY(2), "nazwa");
  EXPECT_TRUE(handler.errors.empty());
}

TEST_F(WorkAreaTest, SharedAppendLocksTheNewRecordAndABusyAppendIsANetworkError) {
  ASSERT_TRUE(use(1, "as", "as", true));
  ASSERT_TRUE(DBCREATEINDEX("as", "indeks"));
  ASSERT_TRUE(DBAPPEND());
  EXPECT_EQ(RECNO(), 6u);
  EXPECT_FALSE(EOF_());
  EXPECT_TRUE(FIELDPUT("INDEKS", Value("A050")));  // no lock asked: the append holds it
  auto other_station = open("as", true);
  ASSERT_TRUE(other_station);
  other_station->go_to(6);
  EXPECT_FALSE(other_station->lock_record(6));
  EXPECT_TRUE(DBUNLOCK());
  EXPECT_EQ(column("INDEKS").front(), "A050");  // the index took the new key

  ASSERT_TRUE(other_station->lock_file());
  EXPECT_FALSE(DBAPPEND());
  EXPECT_TRUE(NETERR());
  EXPECT_FALSE(FLOCK());  // single tries, no waiting
  EXPECT_FALSE(RLOCK());
  EXPECT_TRUE(handler.errors.empty());
  other_station.reset();
  EXPECT_TRUE(RLOCK());
  EXPECT_TRUE(DBAPPEND());
  EXPECT_FALSE(NETERR());
  EXPECT_EQ(LASTREC(), 7u);
}

TEST_F(WorkAreaTest, PackAndZapNeedExclusiveUse) {
  ASSERT_TRUE(use(1, "as", "as", true));
  EXPECT_FALSE(DBPACK());
  ASSERT_EQ(handler.errors.size(), 1u);
  EXPECT_EQ(handler.errors[0].specific_code, 1023);
  ASSERT_TRUE(use(1, "as", "as", false));
  ASSERT_TRUE(DBCREATEINDEX("as", "indeks"));
  EXPECT_TRUE(DBPACK());
  EXPECT_EQ(LASTREC(), 4u);
  EXPECT_EQ(column("INDEKS"), (std::vector<std::string>{"A100", "A150", "A200", "B100"}));
  EXPECT_TRUE(DBZAP());
  EXPECT_EQ(LASTREC(), 0u);
  EXPECT_TRUE(EOF_());
  EXPECT_TRUE(BOF());
}

TEST_F(WorkAreaTest, RelationSeeksTheChildWheneverTheParentMoves) {
  make("dd", {{"MAG", 'C', 1, 0}, {"INDEKS", 'C', 8, 0}, {"ILOSC", 'N', 5, 0}},
       {{"1", "A200", 4}, {"2", "A100", 9}, {"1", "ZZZZ", 1}});
  ASSERT_TRUE(use(2, "as", "as", true));
  ASSERT_TRUE(DBCREATEINDEX("as", "mag+indeks"));
  ASSERT_TRUE(use(4, "dd", "dd", true));
  ASSERT_TRUE(DBSETRELATION("as", "mag+indeks"));
  EXPECT_EQ(area("as").get("NAZWA").text().substr(0, 7), "Anchors");  // placed at once
  DBSKIP();
  EXPECT_EQ(area("as").get("NAZWA").text().substr(0, 4), "Axes");
  EXPECT_TRUE(area("as").found());
  DBSKIP();
  EXPECT_TRUE(area("as").eof());  // no such item
  EXPECT_FALSE(area("as").found());
  DBGOTOP();
  EXPECT_EQ(area("as").recno(), 2u);
  DBCLEARRELATION();
  DBSKIP();
  EXPECT_EQ(area("as").recno(), 2u);
  EXPECT_TRUE(handler.errors.empty());
}

TEST(TextComparison, EqualsIsAPrefixRuleAndIdenticalIsExact) {
  const struct {
    const char* left;
    const char* right;
    bool equals, identical;
  } cases[] = {
      {"ABC", "AB", true, false}, {"ABC", "", true, false},   {"AB", "ABC", false, false},
      {"ABC", "ABC", true, true}, {"", "", true, true},        {"3 ", "3", true, false},
      {"cd", "CD", false, false}, {"\xA5", "\x41", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(text_equals(c.left, c.right), c.equals) << c.left << " = " << c.right;
    EXPECT_EQ(text_identical(c.left, c.right), c.identical) << c.left << " == " << c.right;
  }
  EXPECT_LT(compare_texts("\x7F", "\x80", true), 0);  // bytes compare unsigned
}

TEST(FileX, BlanksAreTakenOutAndBothCasesAreTried) {
  testing::TableFixture t;
  t.write_bytes("KOPIA.TXT", "x");
  t.write_bytes("../" + t.tmp.path().filename().string() + "/vatjeden.txt", "x");
  EXPECT_TRUE(FILE_X("KOPIA .TXT", t.files));
  EXPECT_TRUE(FILE_X(" kopia.txt", t.files));
  EXPECT_TRUE(FILE_X("VATJEDEN.TXT", t.files));
  EXPECT_FALSE(FILE_X("KOPIA.TX", t.files));
  EXPECT_FALSE(FILE_X("   ", t.files));
}

}  // namespace
}  // namespace intra
