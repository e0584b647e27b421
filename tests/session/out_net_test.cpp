#include <gtest/gtest.h>

#include "session/doklej_txt.h"
#include "session/network_session.h"
#include "session/prawa.h"
#include "session_fixture.h"
#include "storage/memory_variable_file.h"

namespace intra {
namespace {

using testing::SessionFixture;

std::string padded(const std::string& map) {
  std::string m = map;
  m.resize(30, ' ');
  return m;
}

TEST(OutNet, FreesOnlyItsOwnPositionAndWritesTheParameterCopy) {
  SessionFixture f;
  f.make_company("1?0");
  f.write_bytes("parametr.txt", "stale");
  auto holder = f.other_station("firma", true);
  const int station = IN_NET(Value(1));
  ASSERT_EQ(station, 3);
  publics().set("STACJA", station);
  publics().set("J_PP", 3);
  publics().set("J_NAZWA", " SYSTEM INTRASTAT ");
  publics().set("M_NR", "x");
  DBSELECTAREA(7);
  EXPECT_TRUE(OUT_NET());
  EXPECT_EQ(SELECT(), 7);
  DBCLOSEALL();
  holder.reset();
  EXPECT_EQ(f.company("ST"), padded("1?0"));

  PublicVariables stored;
  ASSERT_TRUE(MVRESTORE("parametr.txt", true, false, "*", true, nullptr, stored, f.files));
  EXPECT_EQ(stored.number("J_PP"), 3);
  EXPECT_EQ(stored.text("J_NAZWA"), " SYSTEM INTRASTAT ");
  EXPECT_FALSE(stored.exists("M_NR"));
}

TEST(OutNet, LockedRecordKeepsTheMark) {
  SessionFixture f;
  f.make_company("1");
  auto holder = f.other_station("firma", true);
  ASSERT_EQ(IN_NET(Value(1)), 2);
  publics().set("STACJA", 2);
  ASSERT_TRUE(holder->lock_record(1));
  EXPECT_TRUE(OUT_NET());
  holder->unlock_all();
  DBCLOSEALL();
  holder.reset();
  EXPECT_EQ(f.company("ST"), padded("1?"));
  EXPECT_TRUE(f.disk.exists("parametr.txt"));
}

TEST(OutNet, WithoutCompanyTableOnlyWritesTheCopy) {
  SessionFixture f;
  publics().set("J_PP", 1);
  EXPECT_TRUE(OUT_NET());
  EXPECT_TRUE(f.disk.exists("parametr.txt"));
  EXPECT_TRUE(f.handler.errors.empty());
}

TEST(DoklejTxt, CreatesThenAppendsLines) {
  SessionFixture f;
  EXPECT_TRUE(DOKLEJ_TXT("bledy.txt", "pierwsza"));
  EXPECT_TRUE(DOKLEJ_TXT("BLEDY.TXT", "druga"));
  EXPECT_EQ(f.bytes("bledy.txt"), "pierwsza\r\ndruga\r\n");
  EXPECT_FALSE(DOKLEJ_TXT("brak\\katalogu\\x.txt", "nic"));
}

TEST(Prawa, OnlyAnNRefuses) {
  SessionFixture f;
  publics().set("M_PRAWA", std::string(20, ' '));
  for (int n = 1; n <= 20; ++n) EXPECT_TRUE(PRAWA(n)) << n;
  publics().set("M_PRAWA", "TNT");
  EXPECT_TRUE(PRAWA(1));
  EXPECT_FALSE(PRAWA(2));
  EXPECT_TRUE(PRAWA(3));
  EXPECT_TRUE(PRAWA(21));
}

}  // namespace
}  // namespace intra
