#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "database/net_use.h"
#include "main/run_error.h"
#include "session/company_table.h"
#include "session/network_session.h"
#include "session/one_copy_guard.h"
#include "session_fixture.h"

namespace intra {
namespace {

using testing::SessionFixture;

std::string padded(const std::string& map, std::size_t width = 30) {
  std::string m = map;
  m.resize(width, ' ');
  return m;
}

struct InNetCase {
  const char* name;
  std::string map;
  const char* www;
  bool others_running;
  const char* stock_table;  // a month directory's as.dbf made beforehand, or nullptr
  const char* company_name;
  int station;
  std::string map_after;
  bool rebuild;
  const char* report_row;  // row 20 (alone) or 21 (beside others) from column 30, or nullptr
  const char* log_report;  // the report in bledy.txt, or nullptr when nothing is logged
  const char* message;     // a message window text, or nullptr
  const char* bmr_after;
  const char* www_after;
};

const std::string kLoneMap = "?" + std::string(29, '0');

const InNetCase kCases[] = {
    {"lone start after two stations ended badly", "?0?00", "", false, nullptr, "", 1, kLoneMap, true,
     "?? - zle wyszedl z programu", "??", nullptr, "12.26", ""},
    {"lone start with cd after a bad end", "00?", "CD", false, nullptr, "", 1, kLoneMap, false,
     "? - zle wyszedl z programu", "?", nullptr, "12.26", "CD"},
    {"clean lone start", "00000", "", false, nullptr, "", 1, kLoneMap, false, nullptr, nullptr, nullptr, "12.26", ""},
    {"shaded block reports 0", "\xB1" "0K", "", false, nullptr, "", 1, kLoneMap, true,
     "0K - zle wyszedl z programu", "0K", nullptr, "12.26", ""},
    {"888 orders the rebuild", "00000", "888", false, nullptr, "", 1, kLoneMap, true, nullptr, nullptr, nullptr,
     "12.26", "888"},
    {"3 orders the rebuild", "00000", "3", false, nullptr, "", 1, kLoneMap, true, nullptr, nullptr, nullptr, "12.26",
     "3"},
    {"beside others: first 0", "11?0 ", "", true, nullptr, "", 4, padded("11??"), false, "11? - PRACUJE", nullptr,
     nullptr, "12.26", ""},
    {"beside others: first blank", "11?1 ", "", true, nullptr, "", 5, padded("11?1?"), false, "11?1 - PRACUJE",
     nullptr, nullptr, "12.26", ""},
    {"beside others: all taken", std::string(30, '1'), "", true, nullptr, "", 0, std::string(30, '1'), false,
     "111111111111111111111111111111 - PRACUJE", nullptr, "Wszystkie stacje zajete", "12.26", ""},
    {"lone month switch", "0", "05.24", false, "24\\05\\as.dbf", "", 1, kLoneMap, false, nullptr, nullptr, nullptr,
     "05.24", "05.24"},
    {"month switch without its stock table", "0", "05.24", false, nullptr, "", 1, kLoneMap, false, nullptr, nullptr,
     "05.24 - to jakas pomylka!!!", "12.26", ""},
    {"month switch beside others", "1", "05.24", true, "24\\05\\as.dbf", "", 2, padded("1?"), false, "1 - PRACUJE",
     nullptr, nullptr, "05.24", "05.24"},
    {"month 13 is no switch", "0", "13.24", false, "24\\13\\as.dbf", "", 1, kLoneMap, false, nullptr, nullptr,
     nullptr, "12.26", "13.24"},
    {"held-back company before June 2001", "0", "05.99", false, "99\\05\\as.dbf", "Hurtownia Brasko", 1, kLoneMap,
     false, nullptr, nullptr, "Zmiana okresu zablokowana Z.O.", "12.26", "05.99"},
    {"held-back company from June 2001", "0", "07.01", false, "01\\07\\as.dbf", "B R A S K O sp.", 1, kLoneMap, false,
     nullptr, nullptr, nullptr, "07.01", "07.01"},
};

struct InNetCases : ::testing::TestWithParam<InNetCase> {};

TEST_P(InNetCases, StationMapRebuildAndMessages) {
  const InNetCase& c = GetParam();
  SessionFixture f;
  f.make_company(padded(c.map), c.company_name);
  if (c.stock_table) {
    f.disk.make_directory(std::string(c.stock_table).substr(0, 5));
    f.make_table(c.stock_table);
  }
  publics().set("WWW", c.www);
  auto holder = c.others_running ? f.other_station("firma", true) : nullptr;

  EXPECT_EQ(IN_NET(Value(1)), c.station);
  EXPECT_EQ(publics().logical("INDEKSOWAC"), c.rebuild);
  EXPECT_EQ(publics().text("WWW"), c.www_after);
  EXPECT_EQ(publics().number("M_ZO"), 1);
  EXPECT_EQ(publics().logical("PIERWSZE_WEJSCIE"), !c.others_running);
  if (c.report_row) {
    const int row = c.others_running ? 21 : 20;
    EXPECT_EQ(f.con.screen().row_text(row).substr(30, std::string(c.report_row).size()), c.report_row);
  } else if (!c.others_running) {
    EXPECT_EQ(f.con.screen().row_text(20).find("zle wyszedl"), std::string::npos);
  }
  if (c.log_report) {
    EXPECT_EQ(f.bytes("bledy.txt"), std::string("11.12.2026, 09:00 \xB3 ") + c.log_report + "\r\n");
  } else {
    EXPECT_FALSE(f.disk.exists("bledy.txt"));
  }
  if (c.message) {
    EXPECT_TRUE(f.was_shown(c.message)) << c.message;
  }
  if (std::string(c.name).find("stock table") != std::string::npos) {
    EXPECT_GE(f.seconds(), 2.0);  // shown twice, a second each
  }

  DBCLOSEALL();
  holder.reset();
  EXPECT_EQ(f.company("ST"), c.map_after);
  EXPECT_EQ(f.company("BMR"), c.bmr_after);
}

TEST(InNet, HeldBackCompanyGetsTheMonthsFirstDay) {
  SessionFixture f;
  f.make_company("0", "BRASKO");
  f.disk.make_directory("99\\05");
  f.make_table("99\\05\\as.dbf");
  publics().set("WWW", "05.99");
  EXPECT_EQ(IN_NET(Value(1)), 1);
  EXPECT_EQ(publics().get("M_DATA").date(), Date::from_ymd(1999, 5, 1));
}

INSTANTIATE_TEST_SUITE_P(Starts, InNetCases, ::testing::ValuesIn(kCases), [](const ::testing::TestParamInfo<InNetCase>& param) {
  std::string name;
  for (char ch : std::string(param.param.name)) name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  return name;
});

TEST(InNet, FirstStartInAnEmptyDirectoryCreatesTheCompanyRecord) {
  SessionFixture f;
  EXPECT_EQ(IN_NET(Value(1)), 1);
  EXPECT_FALSE(publics().logical("INDEKSOWAC"));
  EXPECT_TRUE(publics().logical("PIERWSZE_WEJSCIE"));
  EXPECT_EQ(publics().text("M_DBF"), "");
  EXPECT_EQ(ALIAS(1), "FIRMA");
  EXPECT_EQ(SELECT(), 1);
  DBCLOSEALL();
  EXPECT_EQ(f.company("BMR"), "12.26");
  EXPECT_EQ(f.company("FK"), padded("C:\\FF", 16));
  EXPECT_EQ(f.company("ST"), kLoneMap);

  // Called without an argument, a clean lone start still orders the rebuild.
  publics().set("INDEKSOWAC", false);
  EXPECT_EQ(IN_NET(), 1);
  EXPECT_TRUE(publics().logical("INDEKSOWAC"));
}

TEST(InNet, LoneStartTableStaysExclusive) {
  SessionFixture f;
  f.make_company("0");
  ASSERT_EQ(IN_NET(Value(1)), 1);
  TableError error;
  EXPECT_FALSE(Table::open(f.disk, "firma", OpenOptions{true, false}, error));
  EXPECT_TRUE(error.sharing_conflict());
}

TEST(InNet, WideningTheMapKeepsItsCharactersAndEveryOtherField) {
  SessionFixture f;
  const std::string old_map = "1?" + std::string(27, '0') + "K";
  f.make_company(old_map, "FIRMA TESTOWA");
  f.write_bytes("ST99.TXT", "");
  DBSELECTAREA(1);
  ASSERT_TRUE(NET_USE("firma", "firma", true, 1));
  ASSERT_TRUE(company_table_needs_upgrade(""));
  ASSERT_TRUE(upgrade_company_table());
  EXPECT_EQ(FIELDGET("ST").text(), old_map + std::string(69, ' '));
  EXPECT_EQ(FIELDGET("NODB").text(), padded("FIRMA TESTOWA"));
  EXPECT_EQ(FIELDGET("BMR").text(), "12.26");
  EXPECT_EQ(LASTREC(), 1u);
  EXPECT_FALSE(company_table_needs_upgrade(""));
  EXPECT_FALSE(f.disk.exists("xxx.dbf"));
  DBCLOSEALL();

  // The start itself: the marks reported, the wide map reset.
  f.make_company(old_map, "FIRMA TESTOWA");
  EXPECT_EQ(IN_NET(Value(1)), 1);
  EXPECT_TRUE(publics().logical("INDEKSOWAC"));
  EXPECT_EQ(f.con.screen().row_text(20).substr(30, 28), "1?K - zle wyszedl z programu");
  DBCLOSEALL();
  EXPECT_EQ(f.company("ST"), "?" + std::string(98, '0'));
}

TEST(InNet, AnOldTableWithoutMap) {
  // Alone it is upgraded, its data kept.
  SessionFixture f;
  f.make_table("firma", {{"NODB", 'C', 30, 0}, {"BMR", 'C', 5, 0}, {"NRBO", 'C', 30, 0}});
  {
    auto t = f.other_station("firma", false);
    ASSERT_TRUE(t->append());
    ASSERT_TRUE(t->put(0, Value("STARA FIRMA")));
    ASSERT_TRUE(t->put(1, Value("03.25")));
    ASSERT_TRUE(t->put(2, Value("12345")));
    ASSERT_TRUE(t->close());
  }
  auto copy = [&] { return f.bytes("firma.dbf"); };
  const std::string old_table = copy();
  EXPECT_EQ(IN_NET(Value(1)), 1);
  DBCLOSEALL();
  EXPECT_EQ(f.company("NODB"), padded("STARA FIRMA"));
  EXPECT_EQ(f.company("BMR"), "03.25");
  EXPECT_EQ(f.company("NRBO"), padded("12345", 40));
  EXPECT_EQ(f.company("ST"), kLoneMap);

  // Beside others it cannot be: the user is asked to end the other programs.
  f.write_bytes("firma.dbf", old_table);
  auto holder = f.other_station("firma", true);
  EXPECT_EQ(IN_NET(Value(1)), 0);
  EXPECT_NE(f.con.screen().row_text(17).find("Prosze wyjsc z programow .."), std::string::npos);
}

TEST(InNet, CompanyTableHeldExclusivelyByAnother) {
  SessionFixture f;
  f.make_company("1");
  auto holder = f.other_station("firma", false);
  EXPECT_EQ(IN_NET(Value(1)), 0);
  EXPECT_TRUE(f.was_shown("2.Mam problemy z wejsciem"));
}

TEST(InNet, RecordLockedForTwentySeconds) {
  SessionFixture f;
  f.make_company("1");
  auto holder = f.other_station("firma", true);
  ASSERT_TRUE(holder->lock_record(1));
  const double start = f.seconds();
  EXPECT_EQ(IN_NET(Value(1)), 0);
  EXPECT_TRUE(f.was_shown("1.Mam problemy z wejsciem"));
  EXPECT_GE(f.seconds() - start, 2 + 20.0);  // two open tries, then the lock's 20 seconds
  holder->unlock_all();
  holder.reset();
  DBCLOSEALL();
  EXPECT_EQ(f.company("ST"), padded("1"));
}

TEST(InNet, PositionIsChosenAgainOnceTheLockIsHeld) {
  // Another station starting at the same moment saw the same free position
  // and marked it first, while this one waited for the lock.
  SessionFixture f;
  f.make_company("1?0");
  auto other = f.other_station("firma", true);
  ASSERT_TRUE(other->lock_record(1));
  f.clock.at(f.after(f.seconds() + 4), [&] {
    ASSERT_TRUE(other->go_to(1));
    ASSERT_TRUE(other->put(other->field_index("ST"), Value(padded("1??"))));
    ASSERT_TRUE(other->unlock_all());
  });
  EXPECT_EQ(IN_NET(Value(1)), 4);
  DBCLOSEALL();
  other.reset();
  EXPECT_EQ(f.company("ST"), padded("1???"));
}

TEST(OneCopyGuard, SecondCopyEndsAndFirstStampsItsStart) {
  SessionFixture f;
  f.write_bytes("VATJEDEN.TXT", "");
  f.make_company("0");
  ASSERT_EQ(IN_NET(Value(1)), 1);
  EXPECT_EQ(ALIAS(149), "PROGRAM");
  EXPECT_TRUE(f.disk.exists("C:\\VAT_ROB\\PROGRAM.DBF"));
  DBCLOSEALL();
  {
    auto guard = f.other_station("C:\\VAT_ROB\\PROGRAM", true);
    ASSERT_TRUE(guard->go_to(1));
    EXPECT_EQ(guard->get(guard->field_index("DATA")).date(), Date::from_ymd(2026, 12, 11));
    EXPECT_EQ(guard->get(guard->field_index("CZAS_IN")).text(), "09:00:00");
    EXPECT_EQ(guard->record_count(), 1u);
  }

  // A second copy finds the guard busy and ends.
  auto first_copy = f.other_station("C:\\VAT_ROB\\PROGRAM", false);
  EXPECT_THROW(IN_NET(Value(1)), QuitProgram);
  EXPECT_TRUE(f.was_shown("Program juz otwarty na pasku"));
}

TEST(OneCopyGuard, NothingWithoutTheMarkerFile) {
  SessionFixture f;
  guard_one_copy();
  EXPECT_FALSE(f.disk.exists("C:\\VAT_ROB"));
  EXPECT_FALSE(USED());
}

}  // namespace
}  // namespace intra
