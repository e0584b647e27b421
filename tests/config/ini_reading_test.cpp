// How an INI file is read: lines, sections, comments, keys and values
// exactly as they stand, the 256-byte pieces and the ignored last line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/tinifile.h"
#include "ini_fixture.h"

namespace intra {
namespace {

struct IniReadingTest : ::testing::Test, testing::IniFixture {};

TEST_F(IniReadingTest, KeysAreFoundInAnyCaseButBlanksAroundTheEqualsSignBelongToKeyAndValue) {
  const TINIFILE ini = read("[System]\r\nPrinterType=WIN32\r\nPrinterName = EPSON\r\n");
  for (const char* key : {"PrinterType", "printertype", "PRINTERTYPE"}) {
    EXPECT_EQ(ini.ReadString("system", key, "none"), "WIN32") << key;
  }
  EXPECT_EQ(ini.ReadString("System", "PrinterName", "none"), "none");
  EXPECT_EQ(ini.ReadString("System", "PrinterName ", "none"), " EPSON");
}

TEST_F(IniReadingTest, ALastLineWithoutCrLfIsNotSeen) {
  const TINIFILE ini = read("[System]\r\nPrinterName=HP\r\nPrinterType=WIN32");
  EXPECT_EQ(ini.ReadString("System", "PrinterName", ""), "HP");
  EXPECT_EQ(ini.ReadString("System", "PrinterType", "none"), "none");
  // A CR alone ends a line; LF bytes are dropped wherever they stand.
  const TINIFILE cr_only = read("[Sys\ntem]\rKey=v\na\nl\r");
  EXPECT_EQ(cr_only.ReadString("System", "Key", ""), "val");
}

TEST_F(IniReadingTest, SectionNamesEndAtTheFirstClosingBracketOrTheLineEnd) {
  const TINIFILE ini = read("[System\r\nA=1\r\n[KASA1] ; till\r\nB=2\r\n[]\r\nC=3\r\n[x]y]\r\nD=4\r\n");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"System", "KASA1", "", "x"}));
  EXPECT_EQ(ini.ReadString("System", "A", ""), "1");
  EXPECT_EQ(ini.ReadString("kasa1", "B", ""), "2");
  EXPECT_EQ(ini.ReadString("X", "D", ""), "4");
}

TEST_F(IniReadingTest, LinesBeforeTheFirstSectionAreGlobalAndBlankLinesAreDropped) {
  const TINIFILE ini = read("; global comment\r\nMode=TEXT\r\n   \r\n\t\r\n\r\nLoneKey\r\n[System]\r\nMode=GRAPH\r\n");
  EXPECT_EQ(ini.ReadString("", "mode", ""), "TEXT");
  EXPECT_EQ(ini.ReadString("System", "Mode", ""), "GRAPH");
  EXPECT_EQ(ini.ReadSection(""), (std::vector<std::string>{"Mode", "LoneKey"}));
  EXPECT_EQ(ini.ReadString("", "LoneKey", "none"), "");
  EXPECT_EQ(ini.Contents().size(), 4u);
}

TEST_F(IniReadingTest, OnlyTheFirstEqualsSignSplitsAndTheFirstMatchWins) {
  const TINIFILE ini = read("[S]\r\nUrl=a=b\r\nKey=first\r\nkey=second\r\n[s]\r\nOther=1\r\n");
  EXPECT_EQ(ini.ReadString("S", "Url", ""), "a=b");
  EXPECT_EQ(ini.ReadString("S", "KEY", ""), "first");
  EXPECT_EQ(ini.ReadString("S", "Other", "none"), "none");
}

TEST_F(IniReadingTest, ALineReadsTheSameWhereverThePieceBoundariesFall) {
  // The line "  Key=value" placed so that the 256-byte boundary falls at
  // every byte of it, of its CR LF and around it; LF bytes shift nothing.
  const std::string line = "  Key=value";
  for (std::size_t before = 240; before <= 260; ++before) {
    std::string filler = "; " + std::string(before - 4, 'x') + "\r\n";
    ASSERT_EQ(filler.size(), before);
    const TINIFILE ini = read("[S]\r\n" + filler + line + "\r\nNext=1\r\n");
    EXPECT_EQ(ini.ReadString("S", "  Key", "none"), "value") << before;
    EXPECT_EQ(ini.ReadString("S", "Next", "none"), "1") << before;
    EXPECT_EQ(ini.ReadSection("S"), (std::vector<std::string>{"  Key", "Next"})) << before;
  }
}

TEST_F(IniReadingTest, LongLinesAcrossSeveralPiecesAreWhole) {
  const std::string value(1000, 'v');
  const TINIFILE ini = read("[S]\r\nLong=" + value + "\r\n");
  EXPECT_EQ(ini.ReadString("S", "Long", ""), value);
}

TEST_F(IniReadingTest, AMissingFileIsCreatedEmpty) {
  auto ini = TINIFILE_X("vat.ini");
  ASSERT_TRUE(ini);
  EXPECT_TRUE(ini->Contents().empty());
  EXPECT_TRUE(disk.exists("vat.ini"));
  EXPECT_EQ(bytes("vat.ini"), "");
  EXPECT_EQ(ini->FileName(), "vat.ini");
}

TEST_F(IniReadingTest, AnEmptyFileNameIsReportedOnTheErrorOutput) {
  ::testing::internal::CaptureStderr();
  const auto ini = TINIFILE_X("");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "No filename passed to TIniFILE_X():New()\n");
  EXPECT_FALSE(ini);
}

}  // namespace
}  // namespace intra
