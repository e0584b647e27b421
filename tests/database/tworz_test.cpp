// TWORZ: a table created anew from its field-specification string, through
// a scratch structure file strukt<NN>.dbf.
#include "database/tworz.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "database_fixture.h"
#include "screen/text_helpers.h"

namespace intra {
namespace {

const std::string kStock = "as,MAG       ,C,  1,  0,INDEKS    ,C,  8,  0,ILOSC     ,N, 12,  3,DATA      ,D,  8,  0";

struct TworzTest : ::testing::Test, testing::DatabaseFixture {
  // The scratch files made, with the area selected then.
  std::vector<std::pair<std::string, int>> scratches;

  void SetUp() override {
    files.before_open = [this](std::string_view name, OpenMode mode) {
      if (mode == OpenMode::Create && name.starts_with("strukt")) scratches.emplace_back(std::string(name), SELECT());
    };
  }
  // "MAG C 1 0, INDEKS C 8 0": the fields of a table as its header holds them.
  std::string structure_of(const std::string& table) {
    auto t = other_station(table, true);
    std::string out;
    for (const auto& f : t ? t->fields() : std::vector<FieldDescriptor>{})
      out += (out.empty() ? "" : ", ") + f.name + " " + f.type + " " + std::to_string(f.width) + " " +
             std::to_string(f.decimals);
    return out;
  }
  std::vector<std::string> strukt_files() const {
    std::vector<std::string> names;
    for (const auto& e : disk.list("strukt*.*")) names.push_back(e.name);
    return names;
  }
  // Keeps the message window's text row as it is `later` seconds from now.
  void watch_message(double later) {
    clock.at(after(seconds() + later), [this] { shown = con.screen().row_text(17); });
  }
  std::string shown;
};

TEST_F(TworzTest, PaddingAndATrailingCommaMakeNoDifference) {
  const char* forms[] = {
      "t1,MAG       ,C,  1,  0,INDEKS    ,C,  8,  0,ILOSC     ,N, 12,  3",
      "t2,MAG       ,C,  1,  0,INDEKS    ,C,  8,  0,ILOSC     ,N, 12,  3,",
      "t3,MAG,C,1,0,INDEKS,C,8,0,ILOSC,N,12,3",
      "t4,mag,c,1,0,indeks,c,008,0,ilosc,n,12,3,",
  };
  for (const char* form : forms) EXPECT_TRUE(TWORZ(form)) << form;
  const std::string first = bytes("t1.dbf");
  EXPECT_FALSE(first.empty());
  for (const char* name : {"t2.dbf", "t3.dbf", "t4.dbf"}) EXPECT_EQ(bytes(name), first) << name;
  EXPECT_EQ(structure_of("t1"), "MAG C 1 0, INDEKS C 8 0, ILOSC N 12 3");
  EXPECT_TRUE(handler.errors.empty());
  EXPECT_TRUE(strukt_files().empty());
}

TEST_F(TworzTest, TheTableIsCreatedClosedAndTheCallersAreaIsSelectedAgain) {
  ASSERT_TRUE(files.make_directory("24\\05"));
  make_table("24\\05\\zo");
  DBSELECTAREA(5);
  ASSERT_TRUE(DBUSEAREA("24\\05\\zo", "zo", true));
  DBSELECTAREA(7);
  ASSERT_TRUE(TWORZ("24\\05\\" + kStock));
  EXPECT_EQ(SELECT(), 7);
  EXPECT_EQ(SELECT("zo"), 5);  // nothing had to be erased: the caller's tables stay open
  for (int n = 88; n <= 98; ++n) EXPECT_FALSE(area(n).used()) << n;
  EXPECT_EQ(structure_of("24\\05\\as"), "MAG C 1 0, INDEKS C 8 0, ILOSC N 12 3, DATA D 8 0");
  ASSERT_EQ(scratches.size(), 1u);
  EXPECT_EQ(scratches[0].second, 88);

  DBSELECTAREA(88);
  ASSERT_TRUE(DBUSEAREA("24\\05\\zo", "zo88", true));
  DBSELECTAREA(7);
  ASSERT_TRUE(TWORZ("24\\05\\" + kStock));
  ASSERT_EQ(scratches.size(), 2u);
  EXPECT_EQ(scratches[1].second, 89);  // the first free one among 88 to 98
  EXPECT_EQ(SELECT("zo88"), 88);
}

TEST_F(TworzTest, AnExistingTableIsReplacedAndTheCurrentAreasTableClosed) {
  make_table("as", {{"STARE", 'C', 30, 0}});
  {
    auto t = other_station("as", false);
    ASSERT_TRUE(t && t->append() && t->append());
  }
  DBSELECTAREA(4);
  ASSERT_TRUE(DBUSEAREA("as", "as", true));
  ASSERT_TRUE(TWORZ(kStock));
  EXPECT_EQ(SELECT(), 4);
  EXPECT_FALSE(USED());
  EXPECT_EQ(structure_of("as"), "MAG C 1 0, INDEKS C 8 0, ILOSC N 12 3, DATA D 8 0");
  auto t = other_station("as", true);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->record_count(), 0u);
}

TEST_F(TworzTest, TheScratchFileIsAStructureTableOfTheFields) {
  files.before_remove = [this](std::string_view name) {
    if (name.starts_with("strukt")) disk.copy(name, "kept.dbf");
  };
  ASSERT_TRUE(TWORZ("t,NAZWA     ,C,300,  0,CENA      ,N, 10,  2", {}, 7));
  ASSERT_EQ(scratches.size(), 1u);
  EXPECT_EQ(scratches[0].first, "strukt07.dbf");
  EXPECT_TRUE(strukt_files().empty());

  auto kept = other_station("kept", true);
  ASSERT_TRUE(kept);
  ASSERT_EQ(kept->field_count(), 4);
  EXPECT_EQ(kept->fields()[0].name, "FIELD_NAME");
  EXPECT_EQ(kept->fields()[3].name, "FIELD_DEC");
  ASSERT_EQ(kept->record_count(), 2u);
  auto row = [&](std::uint32_t n) {
    kept->go_to(n);
    const auto whole = [&](int field) { return std::to_string(static_cast<int>(kept->get(field).number())); };
    return kept->get(0).text() + "|" + kept->get(1).text() + "|" + whole(2) + "|" + whole(3);
  };
  EXPECT_EQ(row(1), "NAZWA     |C|44|1");  // 300 = 1 * 256 + 44, the classic way for long texts
  EXPECT_EQ(row(2), "CENA      |N|10|2");
  EXPECT_EQ(structure_of("t"), "NAZWA C 300 0, CENA N 10 2");
}

TEST_F(TworzTest, WithoutANumberTheScratchNameComesFromTheSecondsOfTheTime) {
  const struct {
    int number;
    int seconds_on;  // the clock starts at 09:00:00
    const char* scratch;
  } cases[] = {
      {0, 37, "strukt37.dbf"},  {0, 28, "strukt05.dbf"},  // 09:00:37, 09:01:05
      {-3, 0, "strukt05.dbf"},  {42, 0, "strukt42.dbf"},  {100, 0, "strukt00.dbf"}, {99, 0, "strukt99.dbf"},
  };
  for (const auto& c : cases) {
    clock.sleep(std::chrono::seconds(c.seconds_on));
    scratches.clear();
    ASSERT_TRUE(TWORZ(kStock, {}, c.number));
    ASSERT_EQ(scratches.size(), 1u);
    EXPECT_EQ(scratches[0].first, c.scratch) << c.number << " at " << clock.local_time().hh_mm_ss();
  }
}

TEST_F(TworzTest, AStaleScratchFileIsErasedAndOneInUseIsPassedOver) {
  make_table("strukt07");
  make_table("strukt08");
  make_table("strukt99");
  make_table("zo");
  DBSELECTAREA(2);
  ASSERT_TRUE(DBUSEAREA("zo", "zo", true));

  ASSERT_TRUE(TWORZ(kStock, {}, 7));  // strukt07 is stale: erased and used
  EXPECT_EQ(scratches.back().first, "strukt07.dbf");
  EXPECT_EQ(SELECT(), 2);
  EXPECT_FALSE(USED());  // closed before the erasure
  EXPECT_EQ(strukt_files(), (std::vector<std::string>{"strukt08.dbf", "strukt99.dbf"}));

  auto holder = other_station("strukt08", false);
  auto holder99 = other_station("strukt99", true);  // a shared user keeps it too
  ASSERT_TRUE(holder && holder99);
  ASSERT_TRUE(TWORZ(kStock, {}, 8));
  EXPECT_EQ(scratches.back().first, "strukt09.dbf");
  ASSERT_TRUE(TWORZ(kStock, {}, 99));
  EXPECT_EQ(scratches.back().first, "strukt00.dbf");  // 99 is followed by 00
  EXPECT_EQ(strukt_files(), (std::vector<std::string>{"strukt08.dbf", "strukt99.dbf"}));
  EXPECT_TRUE(handler.errors.empty());
}

TEST_F(TworzTest, NoScratchFileToBeHadShowsTheMessageAndSelectsTheCallersAreaAgain) {
  std::vector<std::unique_ptr<Table>> holders;
  for (int n = 0; n < 100; ++n) {
    const std::string name = "strukt" + STR2(n);
    make_table(name);
    holders.push_back(other_station(name, false));
  }
  DBSELECTAREA(12);
  watch_message(1);
  EXPECT_FALSE(TWORZ(kStock, {}, 31));
  EXPECT_NE(shown.find("Plik strukt.dbf niedostepny"), std::string::npos) << shown;
  EXPECT_DOUBLE_EQ(seconds(), 3);
  EXPECT_EQ(SELECT(), 12);
  EXPECT_FALSE(files.exists("as.dbf"));
  EXPECT_TRUE(scratches.empty());
}

TEST_F(TworzTest, AScratchFileTakenByAnotherStationRightAfterItsCreationShowsTheMessage) {
  make_table("as", {{"STARE", 'C', 30, 0}});
  std::unique_ptr<Table> grabbed;
  files.before_open = [&](std::string_view name, OpenMode mode) {
    if (mode == OpenMode::ReadWrite && name == "strukt07.dbf" && !grabbed) grabbed = other_station("strukt07", false);
  };
  DBSELECTAREA(12);
  watch_message(5.5);
  EXPECT_FALSE(TWORZ(kStock, {}, 7));
  ASSERT_TRUE(grabbed);
  EXPECT_NE(shown.find("Plik strukt.dbf niedostepny"), std::string::npos) << shown;
  EXPECT_DOUBLE_EQ(seconds(), 5 + 3);  // five tries of NET_USE, then the timed message
  EXPECT_EQ(SELECT(), 12);
  for (int n = 88; n <= 98; ++n) EXPECT_FALSE(area(n).used()) << n;
  EXPECT_FALSE(files.exists("as.dbf"));  // erased before the attempt, as the caller expects a new one
  EXPECT_TRUE(handler.errors.empty());
}

TEST_F(TworzTest, AMalformedStringIsReportedAndErasesNothing) {
  make_table("as", {{"STARE", 'C', 30, 0}});
  make_table("strukt07");
  const struct {
    const char* structure;
    const char* problem;
  } cases[] = {
      {"as,MAG,C,1,0,INDEKS,C,8x,0", "field 2 (INDEKS): width \"8x\" is not a number"},
      {"as,MAG,C,1", "3 entries after the table name; each field needs 4 (name, type, width, decimals)"},
      {"as", "no field after the table name"},
      {"", "no table name before the first comma"},
  };
  for (const auto& c : cases) {
    handler.errors.clear();
    DBSELECTAREA(6);
    EXPECT_FALSE(TWORZ(c.structure, {}, 7)) << c.structure;
    ASSERT_EQ(handler.errors.size(), 1u) << c.structure;
    EXPECT_NE(handler.errors[0].description.find(c.problem), std::string::npos) << handler.errors[0].summary();
    EXPECT_EQ(handler.errors[0].general_code, 20);
    EXPECT_FALSE(handler.errors[0].can_retry);
    EXPECT_EQ(SELECT(), 6);
  }
  EXPECT_EQ(structure_of("as"), "STARE C 30 0");
  EXPECT_TRUE(files.exists("strukt07.dbf"));
  EXPECT_TRUE(scratches.empty());
}

TEST_F(TworzTest, ATableAnotherStationHasOpenIsNotPulledFromUnderIt) {
  make_table("as", {{"STARE", 'C', 30, 0}});
  auto user = other_station("as", true);
  ASSERT_TRUE(user);
  EXPECT_FALSE(TWORZ(kStock));
  ASSERT_EQ(handler.errors.size(), 1u);
  EXPECT_EQ(handler.errors[0].os_code, 32);  // the creation meets the sharing conflict
  EXPECT_TRUE(strukt_files().empty());
  user.reset();
  EXPECT_EQ(structure_of("as"), "STARE C 30 0");
}

}  // namespace
}  // namespace intra
