// The creation log DOWOD.LOG that TWORZ keeps for the documents-header
// table: which names are logged, the entry, and the carried-over lines.
#include <gtest/gtest.h>

#include <string>

#include "database/creation_log.h"
#include "database/tworz.h"
#include "database_fixture.h"

namespace intra {
namespace {

const std::string kDowod = ",NRDOW     ,C,  8,  0,DATA      ,D,  8,  0";

struct TworzLogTest : ::testing::Test, testing::DatabaseFixture {
  void SetUp() override {
    ASSERT_TRUE(files.make_directory("24\\05"));
    ASSERT_TRUE(files.make_directory("rob"));
  }
};

// A routine that creates the table and names its own caller, as the
// catalogue's routines do.
unsigned g_tworz_line = 0;
bool INIT_DBF(const std::string& file, CallSite caller = CallSite::here()) {
  g_tworz_line = __LINE__ + 1;
  return TWORZ(file + kDowod, {}, 0, CallSite::here(), caller);
}

TEST(CreationLog, TheDocumentsHeaderTableIsLoggedExceptAWorkstationsCopy) {
  const struct {
    const char* file;
    bool logged;
  } cases[] = {
      {"24\\05\\dowod", true},  {"24\\05\\DOWOD", true},     {"c:\\baza\\dowod", true},
      {"24\\05\\dowody", true},  // contains \DOWOD: the rule is about the text
      {"rob\\dowod1", false},   {"ROB\\DOWOD", false},       {"24\\rob\\dowod", false},
      {"dowod", false},         {"24/05/dowod", false},      // no backslash before the name
      {"24\\05\\dow", false},   {"24\\05\\as", false},
  };
  for (const auto& c : cases) EXPECT_EQ(is_logged_creation(c.file), c.logged) << c.file;
}

TEST_F(TworzLogTest, TheEntryNamesTheFileTheCallerAndItsCallerWithTheirLines) {
  clock.sleep(std::chrono::seconds(3725));  // 10:02:05
  const unsigned test_line = __LINE__ + 1;
  ASSERT_TRUE(INIT_DBF("24\\05\\dowod"));
  EXPECT_EQ(bytes("DOWOD.LOG"), "11.12.2026,10:02:05, plik: 24\\05\\dowod, INIT_DBF(" + std::to_string(g_tworz_line) +
                                    "), TestBody(" + std::to_string(test_line) + ")\r\n\r\n");
  EXPECT_FALSE(files.exists("dowod_.txt"));

  // Called directly, the caller's caller is not known.
  ASSERT_TRUE(files.remove("DOWOD.LOG"));
  const unsigned direct_line = __LINE__ + 1;
  ASSERT_TRUE(TWORZ("24\\05\\dowod" + kDowod));
  EXPECT_EQ(bytes("DOWOD.LOG"),
            "11.12.2026,10:02:05, plik: 24\\05\\dowod, TestBody(" + std::to_string(direct_line) + "), (0)\r\n\r\n");
}

TEST_F(TworzLogTest, AWorkstationsCopyIsNotLogged) {
  ASSERT_TRUE(INIT_DBF("rob\\dowod1"));
  ASSERT_TRUE(INIT_DBF("dowod"));
  EXPECT_TRUE(files.exists("rob\\dowod1.dbf"));
  EXPECT_FALSE(files.exists("DOWOD.LOG"));
}

TEST_F(TworzLogTest, ThePreviousLogMovesToDowodTxtAndItsFirstTenNonEmptyLinesStay) {
  std::string previous, kept;
  for (int i = 1; i <= 30; ++i) {
    const std::string line = "line " + std::to_string(i) + "\r\n";
    previous += line;
    if (i % 3 == 0) previous += "\r\n";  // empty lines are not carried and not counted
    if (i <= 10) kept += line;
  }
  write_bytes("DOWOD.LOG", previous);
  write_bytes("dowod_.txt", "the generation before\r\n");

  ASSERT_TRUE(TWORZ("24\\05\\dowod" + kDowod));
  const std::string first_log = bytes("DOWOD.LOG");
  const std::string entry = first_log.substr(0, first_log.find("\r\n"));
  EXPECT_TRUE(entry.starts_with("11.12.2026,09:00:00, plik: 24\\05\\dowod, TestBody(")) << entry;
  EXPECT_EQ(first_log, entry + "\r\n\r\n" + kept);
  EXPECT_EQ(bytes("dowod_.txt"), previous);

  // The next entry comes first; the empty line after the older one is not carried.
  clock.sleep(std::chrono::seconds(1));
  ASSERT_TRUE(files.make_directory("24\\06"));
  ASSERT_TRUE(TWORZ("24\\06\\dowod" + kDowod));
  const std::string log = bytes("DOWOD.LOG");
  EXPECT_TRUE(log.starts_with("11.12.2026,09:00:01, plik: 24\\06\\dowod, TestBody(")) << log;
  const std::string second_entry = log.substr(0, log.find("\r\n"));
  EXPECT_EQ(log, second_entry + "\r\n\r\n" + entry + "\r\n" + kept.substr(0, kept.find("line 10\r\n")));
}

TEST_F(TworzLogTest, WhenTheOldLogCannotBeMovedAsideNothingOfItIsLost) {
  write_bytes("DOWOD.LOG", "older entry\r\n\r\n");
  ASSERT_TRUE(files.make_directory("dowod_.txt"));  // cannot be erased as a file
  ASSERT_TRUE(TWORZ("24\\05\\dowod" + kDowod));
  const std::string log = bytes("DOWOD.LOG");
  EXPECT_EQ(log.substr(log.find("\r\n\r\n") + 4), "older entry\r\n\r\n");
  EXPECT_TRUE(files.is_directory("dowod_.txt"));
}

}  // namespace
}  // namespace intra
