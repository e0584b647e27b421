// A configuration value asked for by a name outside the table ends the run
// after telling the tester the name.
#include <gtest/gtest.h>

#include <memory>

#include "config/config.h"
#include "ini_fixture.h"
#include "main/run_error.h"
#include "screen/test_screen.h"
#include "storage/table_operations.h"
#include "storage/work_areas.h"

namespace intra {
namespace {

struct UnknownConfigNameTest : ::testing::Test, testing::IniFixture, testing::TestScreen {
  std::unique_ptr<WorkAreas> areas = std::make_unique<WorkAreas>(disk);
  UnknownConfigNameTest() { set_work_areas(areas.get()); }
  ~UnknownConfigNameTest() override { set_work_areas(nullptr); }
};

TEST_F(UnknownConfigNameTest, TheNameIsShownAKeyAwaitedAndTheProgramEnded) {
  write_bytes("vat.ini", "[System]\r\nPrinterName=EPSON\r\n");
  con.set_pos(3, 0);
  DBSELECTAREA(7);
  terminal.type_after(std::chrono::seconds(5), {' '});
  try {
    GETCFGVALUE("PRINTER_NAME");
    FAIL() << "the program went on";
  } catch (const QuitProgram& quit) {
    EXPECT_EQ(quit.exit_code, 1);
  }
  EXPECT_EQ(text(4, 0, 30), std::string(30, '='));
  EXPECT_EQ(text(5, 0, 38), "Testerze sprawdz parametr PRINTER_NAME");
  EXPECT_EQ(row(6), std::string(80, ' '));
  EXPECT_GE(seconds(), 5.0);
  EXPECT_EQ(areas->selected(), 1);
  // Writing with such a name ends the same way before anything is written.
  terminal.type({' '});
  EXPECT_THROW(SETCFGVALUE("printername", Value("HP")), QuitProgram);
  EXPECT_EQ(bytes("vat.ini"), "[System]\r\nPrinterName=EPSON\r\n");
}

}  // namespace
}  // namespace intra
