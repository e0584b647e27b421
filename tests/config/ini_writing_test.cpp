// Changing an INI file in memory and writing it back whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/tinifile.h"
#include "ini_fixture.h"

namespace intra {
namespace {

struct IniWritingTest : ::testing::Test, testing::IniFixture {
  // The bytes UpdateFile writes.
  std::string written(const TINIFILE& ini) {
    EXPECT_TRUE(ini.UpdateFile());
    return bytes("vat.ini");
  }
};

TEST_F(IniWritingTest, CommentsAndGlobalKeysStayInTheirPlaces) {
  const std::string file =
      "; vat.ini of the shop\r\n"
      "Mode=TEXT\r\n"
      "[System]\r\n"
      "; common printer\r\n"
      "PrinterName=EPSON\r\n"
      "\r\n"
      "[KASA1]\r\n"
      "PrinterType = WIN32\r\n"
      "; till printer below\r\n"
      "PrinterName=HP\r\n"
      "\r\n";
  TINIFILE ini = read(file);
  EXPECT_EQ(written(ini), file);
  ini.WriteString("KASA1", "PrinterName", "OKI");
  EXPECT_EQ(written(ini),
            "; vat.ini of the shop\r\nMode=TEXT\r\n[System]\r\n; common printer\r\nPrinterName=EPSON\r\n\r\n"
            "[KASA1]\r\nPrinterType = WIN32\r\n; till printer below\r\nPrinterName=OKI\r\n\r\n");
}

TEST_F(IniWritingTest, SectionsAreFollowedByAnEmptyLineAndBlankLinesAreNotKept) {
  TINIFILE ini = read("[A]\r\n\r\n\r\nx=1\r\n[B]\r\ny=2\r\nLone\r\n");
  EXPECT_EQ(written(ini), "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\nLone=\r\n\r\n");
}

TEST_F(IniWritingTest, AGlobalKeyStaysBeforeTheFirstSection) {
  TINIFILE ini = read("Mode=TEXT\r\n[System]\r\nPrinterName=EPSON\r\n");
  EXPECT_EQ(written(ini), "Mode=TEXT\r\n[System]\r\nPrinterName=EPSON\r\n\r\n");
  // A new global key goes in front of everything.
  ini.WriteString("", "Terminal", "1");
  ini.WriteString("", "mode", "GRAPH");
  EXPECT_EQ(written(ini), "Terminal=1\r\nMode=GRAPH\r\n[System]\r\nPrinterName=EPSON\r\n\r\n");
  EXPECT_EQ(TINIFILE_X("vat.ini")->ReadSection(""), (std::vector<std::string>{"Terminal", "Mode"}));
}

TEST_F(IniWritingTest, ANewKeyOfAMissingSectionIsAppendedAtTheEnd) {
  TINIFILE ini = read("[System]\r\nPrinterName=EPSON\r\n");
  ini.WriteString("KASA2", "PrinterName", "HP");
  ini.WriteString("System", "PrinterType", "WIN32");
  EXPECT_EQ(written(ini), "[System]\r\nPrinterName=EPSON\r\nPrinterType=WIN32\r\n\r\n[KASA2]\r\nPrinterName=HP\r\n\r\n");
}

TEST_F(IniWritingTest, AnEmptyKeyIsReportedAndChangesNothing) {
  TINIFILE ini = read("[System]\r\nA=1\r\n");
  ::testing::internal::CaptureStderr();
  ini.WriteString("System", "", "x");
  ini.WriteString("", "", "x");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Must specify an identifier\nMust specify an identifier\n");
  EXPECT_EQ(written(ini), "[System]\r\nA=1\r\n\r\n");
}

TEST_F(IniWritingTest, NumbersDatesAndFlagsAreWrittenAsTextAndReadBack) {
  TINIFILE ini = read("");
  ini.WriteNumber("S", "Port", 8080);
  ini.WriteNumber("S", "Rate", -2.5);
  ini.WriteDate("S", "Day", Date::from_ymd(2026, 12, 11));
  ini.WriteBool("S", "On", true);
  ini.WriteBool("S", "Off", false);
  EXPECT_EQ(written(ini), "[S]\r\nPort=8080\r\nRate=-2.5\r\nDay=20261211\r\nOn=.t.\r\nOff=.f.\r\n\r\n");
  EXPECT_EQ(ini.ReadNumber("S", "Port", 0), 8080);
  EXPECT_EQ(ini.ReadNumber("S", "Rate", 0), -2.5);
  EXPECT_EQ(ini.ReadNumber("S", "Missing", 12.25), 12.25);
  EXPECT_EQ(ini.ReadDate("S", "Day", Date()), Date::from_ymd(2026, 12, 11));
  EXPECT_EQ(ini.ReadDate("S", "Missing", Date::from_ymd(2000, 1, 31)), Date::from_ymd(2000, 1, 31));
  EXPECT_TRUE(ini.ReadBool("S", "On", false));
  EXPECT_FALSE(ini.ReadBool("S", "Off", true));
  EXPECT_TRUE(ini.ReadBool("S", "Missing", true));
}

TEST_F(IniWritingTest, TextsThatAreNoNumberDateOrFlagReadAsEmpty) {
  const TINIFILE ini = read("[S]\r\nA= 12x\r\nB=port\r\nC=2026-12-11\r\nD=.T.\r\nE=.t. \r\n");
  EXPECT_EQ(ini.ReadNumber("S", "A", 0), 12);
  EXPECT_EQ(ini.ReadNumber("S", "B", 7), 0);
  EXPECT_TRUE(ini.ReadDate("S", "C", Date::from_ymd(2000, 1, 1)).empty());
  EXPECT_FALSE(ini.ReadBool("S", "D", true));
  EXPECT_FALSE(ini.ReadBool("S", "E", true));
}

TEST_F(IniWritingTest, KeysAndSectionsAreRemovedFirstMatchOnly) {
  TINIFILE ini = read("G1=1\r\n; kept\r\nG2=2\r\n[A]\r\nk=1\r\n;c\r\nK=2\r\n[B]\r\nx=1\r\n[a]\r\nk=3\r\n");
  ini.DeleteKey("a", "K");
  ini.DeleteKey("A", "missing");
  ini.DeleteKey("Missing", "k");
  EXPECT_EQ(ini.ReadSection("A"), (std::vector<std::string>{"K"}));
  ini.DeleteKey("", "g2");
  EXPECT_EQ(ini.ReadSection(""), (std::vector<std::string>{"G1"}));
  ini.EraseSection("A");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"B", "a"}));
  EXPECT_EQ(ini.ReadString("A", "k", ""), "3");
  ini.EraseSection("");
  EXPECT_EQ(written(ini), "; kept\r\n[B]\r\nx=1\r\n\r\n[a]\r\nk=3\r\n\r\n");
}

TEST_F(IniWritingTest, AGlobalKeyIsNoSection) {
  TINIFILE ini = read("System=old\r\n[System]\r\nPrinterName=EPSON\r\n");
  EXPECT_EQ(ini.ReadString("System", "PrinterName", ""), "EPSON");
  ini.WriteString("System", "PrinterType", "WIN32");
  EXPECT_EQ(written(ini), "System=old\r\n[System]\r\nPrinterName=EPSON\r\nPrinterType=WIN32\r\n\r\n");
}

}  // namespace
}  // namespace intra
