#include <gtest/gtest.h>

#include <fstream>

#include "storage/file_system.h"
#include "temp_directory.h"

namespace intra {
namespace {
namespace fs = std::filesystem;

using testing::TempDirectory;

void touch(const fs::path& p) {
  fs::create_directories(p.parent_path());
  std::ofstream(p) << "x";
}

struct MapperFixture : ::testing::Test {
  TempDirectory tmp;
  fs::path db = tmp.path() / "db";
  fs::path drives = tmp.path() / "drives";
  DosPathMapper mapper{db, DriveMap{drives, {}}};
  void SetUp() override { fs::create_directories(db); }
};

TEST_F(MapperFixture, FindsExistingComponentsWhateverTheirCase) {
  touch(db / "24" / "05" / "AS.DBF");
  touch(db / "Rob" / "Wydruk05.PRN");
  touch(db / "FIRMA.DBF");
  struct Case {
    const char* dos;
    fs::path expected;
  } cases[] = {
      {"24\\05\\as.dbf", db / "24" / "05" / "AS.DBF"},
      {"24/05/As.Dbf", db / "24" / "05" / "AS.DBF"},
      {"rob\\wydruk05.prn", db / "Rob" / "Wydruk05.PRN"},
      {"firma.dbf", db / "FIRMA.DBF"},
      {".\\firma.dbf", db / "FIRMA.DBF"},
      // Missing components keep the spelling the program wrote.
      {"rob\\euro05.dbf", db / "Rob" / "euro05.dbf"},
      {"intra\\Intra.dbf", db / "intra" / "Intra.dbf"},
  };
  for (const Case& c : cases) EXPECT_EQ(mapper.map(c.dos), c.expected) << c.dos;
}

TEST_F(MapperFixture, ExactSpellingWinsOverOtherCases) {
  touch(db / "as.dbf");
  touch(db / "AS.DBF");
  EXPECT_EQ(mapper.map("AS.DBF"), db / "AS.DBF");
  EXPECT_EQ(mapper.map("as.dbf"), db / "as.dbf");
  EXPECT_EQ(mapper.map("As.dbf"), db / "AS.DBF");  // first in name order
}

TEST_F(MapperFixture, DrivePathsGoUnderTheDriveDirectory) {
  touch(drives / "c" / "vat_rob" / "program.dbf");
  EXPECT_EQ(mapper.map("C:\\VAT_ROB\\PROGRAM.DBF"), drives / "c" / "vat_rob" / "program.dbf");
  EXPECT_EQ(mapper.map("c:\\rob\\x.txt"), drives / "c" / "rob" / "x.txt");
  DosPathMapper explicit_drive{db, DriveMap{drives, {{'D', tmp.path() / "dee"}}}};
  EXPECT_EQ(explicit_drive.map("d:\\a\\b"), tmp.path() / "dee" / "a" / "b");
  EXPECT_EQ(mapper.map("/etc/hostname"), fs::path("/etc/hostname"));
}

TEST(Wildcard, MatchesLikeDos) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  } cases[] = {
      {"strukt*.dbf", "STRUKT05.DBF", true}, {"strukt*.dbf", "strukt.dbf", true},
      {"strukt??.dbf", "strukt5.dbf", false}, {"*.*", "anything", true},
      {"*.ntx", "as.dbf", false},           {"as?.ntx", "as2.ntx", true},
  };
  for (const Case& c : cases) EXPECT_EQ(wildcard_match(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

TEST_F(MapperFixture, FileSystemOperationsTakeDosNames) {
  PosixFileSystem files{mapper};
  touch(db / "ROB" / "A.TXT");
  EXPECT_TRUE(files.exists("rob\\a.txt"));
  EXPECT_TRUE(files.rename("rob\\a.txt", "rob\\b.txt"));
  EXPECT_TRUE(fs::exists(db / "ROB" / "b.txt"));
  EXPECT_TRUE(files.make_directory("intra\\x"));
  EXPECT_TRUE(files.is_directory("INTRA\\X"));
  const auto listed = files.list("rob\\*.TXT");
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].name, "b.txt");
  EXPECT_FALSE(files.remove("rob\\missing.txt"));
  EXPECT_NE(files.last_error(), 0);
}

TEST_F(MapperFixture, RangeLocksExcludeOtherOpensOfTheSameFile) {
  PosixFileSystem files{mapper};
  auto a = files.open("t.dbf", OpenMode::CreateTruncate);
  auto b = files.open("T.DBF", OpenMode::ReadWrite);
  ASSERT_TRUE(a && b);
  EXPECT_TRUE(a->lock(1000, 1, true));
  EXPECT_FALSE(b->lock(1000, 1, true));
  EXPECT_TRUE(b->lock(1001, 1, true));
  EXPECT_TRUE(a->unlock(1000, 1));
  EXPECT_TRUE(b->lock(1000, 1, true));
  EXPECT_EQ(a->write_at(0, "abc", 3), 3);
  char buf[4] = {};
  EXPECT_EQ(b->read_at(0, buf, 3), 3);
  EXPECT_STREQ(buf, "abc");
}

}  // namespace
}  // namespace intra
