// NET_USE: opening a table shared or exclusively, one try per second while
// another station keeps it from us.
#include "database/net_use.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "database_fixture.h"

namespace intra {
namespace {

struct NetUseTest : ::testing::Test, testing::DatabaseFixture {
  void SetUp() override {
    ASSERT_TRUE(files.make_directory("24\\05"));
    ASSERT_TRUE(files.make_directory("rob"));
    make_table("24\\05\\zo");
    make_table("rob\\euro07");
    DBSELECTAREA(3);
  }
  std::vector<std::string> screen_rows() const {
    std::vector<std::string> rows;
    for (int r = 0; r < ScreenBuffer::kRows; ++r) rows.push_back(con.screen().row_text(r));
    return rows;
  }
  // A screen full of letters, so anything left behind shows.
  void fill_screen() {
    for (int r = 0; r < ScreenBuffer::kRows; ++r) con.say(r, 0, std::string(80, static_cast<char>('a' + r)));
    con.set_pos(3, 7);
  }
};

TEST_F(NetUseTest, AFreeTableOpensAtOnceInTheCurrentArea) {
  for (const bool exclusive : {false, true}) {
    ASSERT_TRUE(NET_USE("24\\05\\zo", "zo", exclusive, 1)) << exclusive;
    EXPECT_EQ(SELECT("ZO"), 3);
    EXPECT_EQ(seconds(), 0);
    EXPECT_EQ(area(3).table().shared(), !exclusive);
    EXPECT_FALSE(area(3).table().read_only());
  }
  EXPECT_TRUE(handler.errors.empty());
}

TEST_F(NetUseTest, EachTryOfABusyTableCostsASecondAlsoTheLast) {
  const struct {
    int tries;
    double released;  // when the other station closes; < 0: never
    bool opened;
    double elapsed;
  } cases[] = {
      {1, -1, false, 1},   {3, -1, false, 3},  {3, 1.5, true, 2},  // the third attempt finds it free
      {3, 2.5, false, 3},                                           // there is no fourth
      {0, 7.5, true, 8},   {-2, -1, false, 1},                      // a negative count: one try
  };
  for (const auto& c : cases) {
    auto other = other_station("24\\05\\zo", false);
    ASSERT_TRUE(other);
    const double start = seconds();
    if (c.released >= 0) clock.at(after(start + c.released), [&other] { other.reset(); });
    EXPECT_EQ(NET_USE("24\\05\\zo", "zo", false, c.tries), c.opened) << c.tries << " tries, freed at " << c.released;
    EXPECT_DOUBLE_EQ(seconds() - start, c.elapsed) << c.tries << " tries, freed at " << c.released;
    EXPECT_EQ(USED(), c.opened);
    EXPECT_EQ(NETERR(), !c.opened);
    DBCLOSEAREA();
    clock.sleep(std::chrono::seconds(1));  // a release due after the call happens here
  }
  EXPECT_TRUE(handler.errors.empty());
}

TEST_F(NetUseTest, AnExclusiveOpenWaitsForASharedUser) {
  auto other = other_station("24\\05\\zo", true);
  EXPECT_FALSE(NET_USE("24\\05\\zo", "zo", true, 2));
  EXPECT_DOUBLE_EQ(seconds(), 2);
  EXPECT_TRUE(NET_USE("24\\05\\zo", "zo", false, 1));  // sharing with it is fine
}

TEST_F(NetUseTest, ExclusiveOpensSayWhichFileTheyOpenExceptScratchFiles) {
  make_table("strukt05");
  const struct {
    const char* file;
    bool exclusive;
    bool message;
  } cases[] = {
      {"24\\05\\zo", true, true},    {"24\\05\\zo", false, false}, {"rob\\euro07", true, false},
      {"ROB\\euro07", true, false},  {"strukt05", true, false},    {"STRUKT05", true, false},
  };
  for (const auto& c : cases) {
    auto other = other_station(c.file, false);
    clock.at(after(seconds() + 1.5), [&other] { other.reset(); });
    fill_screen();
    const std::vector<std::string> before = screen_rows();
    std::string while_waiting;
    clock.at(after(seconds() + 0.5), [&] { while_waiting = con.screen().row_text(17); });

    ASSERT_TRUE(NET_USE(c.file, "t", c.exclusive, 0)) << c.file;
    const std::string message = "Otwieram plik " + std::string(c.file) + ".dbf";
    EXPECT_EQ(while_waiting.find(message) != std::string::npos, c.message) << c.file << ": " << while_waiting;
    EXPECT_EQ(screen_rows(), before) << c.file;  // the screen under the window is back
    EXPECT_EQ(con.row(), 3);
    EXPECT_EQ(con.col(), 7);
    DBCLOSEAREA();
  }
}

TEST_F(NetUseTest, AKeyEndsTheWaitBetweenTwoTries) {
  auto other = other_station("24\\05\\zo", false);
  terminal.type({'x'});
  EXPECT_FALSE(NET_USE("24\\05\\zo", "zo", true, 2));
  EXPECT_DOUBLE_EQ(seconds(), 1);
}

TEST_F(NetUseTest, AFailureOtherThanSharingEndsAtOnceAfterTheErrorHandler) {
  fill_screen();
  const std::vector<std::string> before = screen_rows();
  EXPECT_FALSE(NET_USE("24\\05\\dow", "dow", true, 0));
  EXPECT_EQ(seconds(), 0);
  EXPECT_FALSE(NETERR());
  ASSERT_EQ(handler.errors.size(), 1u);
  EXPECT_EQ(handler.errors[0].specific_code, 1001);
  EXPECT_EQ(handler.errors[0].os_code, 2);
  EXPECT_EQ(screen_rows(), before);
}

}  // namespace
}  // namespace intra
