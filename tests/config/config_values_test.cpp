// Configuration values from vat.ini: the computer's own section before
// "System", empty values as missing, the file read afresh at every call.
#include <gtest/gtest.h>

#include <string>

#include "config/config.h"
#include "ini_fixture.h"

namespace intra {
namespace {

struct ConfigValuesTest : ::testing::Test, testing::IniFixture {
  ConfigValuesTest() { identity.computer_name_value = "KASA1"; }
  std::string text(std::string_view name) { return GETCFGVALUE(name).text(); }
};

TEST_F(ConfigValuesTest, TheOwnSectionComesBeforeSystem) {
  write_bytes("vat.ini", "[System]\r\nPrinterName=EPSON\r\n[kasa1]\r\nPrinterName=HP\r\n");
  EXPECT_EQ(text("PRINTERNAME"), "HP");
  identity.computer_name_value = "KASA2";
  EXPECT_EQ(text("PRINTERNAME"), "EPSON");
  EXPECT_EQ(GETCFGVALUE("PRINTERNAME", "KASA1").text(), "HP");
}

TEST_F(ConfigValuesTest, AnEmptyOwnValueCountsAsMissing) {
  write_bytes("vat.ini", "[KASA1]\r\nPrinterName=\r\n[System]\r\nPrinterName=EPSON\r\n");
  EXPECT_EQ(text("PRINTERNAME"), "EPSON");
}

TEST_F(ConfigValuesTest, NameAndTypeAreFoundInDifferentSections) {
  write_bytes("vat.ini", "[KASA1]\r\nPrinterType=WIN32\r\n[System]\r\nPrinterName=EPSON\r\n");
  EXPECT_EQ(text("PRINTERTYPE"), "WIN32");
  EXPECT_EQ(text("PRINTERNAME"), "EPSON");
  // The label printer's names share the printer's keys.
  EXPECT_EQ(text("ELTRONTYPE"), "WIN32");
  EXPECT_EQ(text("ELTRONNAME"), "EPSON");
}

TEST_F(ConfigValuesTest, AnEditOfTheFileBetweenTwoCallsTakesEffect) {
  write_bytes("vat.ini", "[System]\r\nPrinterName=EPSON\r\n");
  EXPECT_EQ(text("PRINTERNAME"), "EPSON");
  write_bytes("vat.ini", "[System]\r\nPrinterName=EPSON\r\n[KASA1]\r\nPrinterName=\\\\SERWER\\HP\r\n");
  EXPECT_EQ(text("PRINTERNAME"), "\\\\SERWER\\HP");
}

TEST_F(ConfigValuesTest, AMissingFileIsCreatedEmptyAndEveryValueIsMissing) {
  EXPECT_EQ(GETCFGVALUE("PRINTERNAME"), Value(""));
  EXPECT_EQ(GETCFGVALUE("COM1_PORT"), Value(0));
  EXPECT_TRUE(disk.exists("vat.ini"));
}

TEST_F(ConfigValuesTest, SystemOnlyNamesIgnoreTheOwnSection) {
  write_bytes("vat.ini", "[KASA1]\r\nMode=OWN\r\n=own\r\n[System]\r\nMode=TEXT\r\n");
  EXPECT_EQ(text("TERMINAL_MODE"), "TEXT");
  EXPECT_EQ(text(""), "");
  write_bytes("vat.ini", "[KASA1]\r\nMode=OWN\r\n");
  EXPECT_EQ(text("TERMINAL_MODE"), "");
}

TEST_F(ConfigValuesTest, EveryNameReadsItsKeyWithItsType) {
  write_bytes("vat.ini",
              "[KASA1]\r\nSerProxy=ON\r\nCom1IpPort=5331\r\nCom1IpAddr=10.0.0.7\r\nCom2IpPort= 17x\r\n"
              "[System]\r\nCom2IpAddr=10.0.0.8\r\nCom2IpPort=99\r\nCom1IpPort=1\r\n");
  struct Case {
    const char* name;
    Value expected;
  };
  for (const Case& c : {Case{"SERPROXY_MODE", Value("ON")}, Case{"COM1_PORT", Value(5331)},
                        Case{"COM1_ADDR", Value("10.0.0.7")}, Case{"COM2_PORT", Value(17)},
                        Case{"COM2_ADDR", Value("10.0.0.8")}}) {
    EXPECT_EQ(GETCFGVALUE(c.name), c.expected) << c.name;
  }
}

TEST_F(ConfigValuesTest, WithoutAComputerNameTheOwnSectionIsTheGlobalKeys) {
  write_bytes("vat.ini", "PrinterName=GLOBAL\r\n[System]\r\nPrinterName=EPSON\r\n[WS-07]\r\nPrinterName=HP\r\n");
  identity.computer_name_value = "";
  EXPECT_EQ(text("PRINTERNAME"), "GLOBAL");
  // Where COMPUTERNAME is not set at all the short host name stands for it.
  identity.computer_name_value.reset();
  identity.host = "ws-07.shop.local";
  EXPECT_EQ(computer_name(), "WS-07");
  EXPECT_EQ(text("PRINTERNAME"), "HP");
  identity.host = "";
  EXPECT_EQ(text("PRINTERNAME"), "GLOBAL");
}

TEST_F(ConfigValuesTest, SettingAValueWritesTheFileAtOnceAndReturnsThePreviousOne) {
  write_bytes("vat.ini", "; printers\r\n[System]\r\nPrinterName=EPSON\r\n");
  EXPECT_EQ(SETCFGVALUE("PRINTERNAME", Value("HP")), Value("EPSON"));
  EXPECT_EQ(bytes("vat.ini"), "; printers\r\n[System]\r\nPrinterName=EPSON\r\n\r\n[KASA1]\r\nPrinterName=HP\r\n\r\n");
  EXPECT_EQ(SETCFGVALUE("PRINTERNAME", Value("OKI")), Value("HP"));
  EXPECT_EQ(text("PRINTERNAME"), "OKI");
  EXPECT_EQ(SETCFGVALUE("COM1_PORT", Value(8080), "System"), Value(0));
  EXPECT_EQ(GETCFGVALUE("COM1_PORT"), Value(8080));
  // A system-only name is written where it is read.
  SETCFGVALUE("TERMINAL_MODE", Value("GRAPH"));
  EXPECT_EQ(text("TERMINAL_MODE"), "GRAPH");
  EXPECT_EQ(bytes("vat.ini"),
            "; printers\r\n[System]\r\nPrinterName=EPSON\r\nCom1IpPort=8080\r\nMode=GRAPH\r\n\r\n"
            "[KASA1]\r\nPrinterName=OKI\r\n\r\n");
}

TEST_F(ConfigValuesTest, SectionsAreTestedAndRemovedInMemoryUntilCommitted) {
  write_bytes("vat.ini", "[System]\r\nPrinterName=EPSON\r\n[Kasa1]\r\nPrinterName=HP\r\n");
  Config config;
  EXPECT_EQ(config.cFileName(), "vat.ini");
  EXPECT_TRUE(config.IsSection("KASA1"));
  EXPECT_FALSE(config.IsSection("KASA2"));
  config.DeleteValue("KASA1", "PRINTERNAME");
  EXPECT_EQ(config.ReadValue("KASA1", "PRINTERNAME"), Value("HP"));
  EXPECT_TRUE(config.DeleteSection("kasa1"));
  EXPECT_FALSE(config.IsSection("KASA1"));
  EXPECT_EQ(config.ReadValue("KASA1", "PRINTERNAME"), Value("EPSON"));
  EXPECT_EQ(text("PRINTERNAME"), "HP");
  EXPECT_TRUE(config.Commit());
  EXPECT_EQ(text("PRINTERNAME"), "EPSON");
}

}  // namespace
}  // namespace intra
