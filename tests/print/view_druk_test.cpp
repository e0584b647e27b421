#include "print/view_druk.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "main/public_variables.h"
#include "print/printer_output.h"
#include "print/report_routines.h"
#include "print/viewer_services.h"
#include "print_file_fixture.h"
#include "screen/key_codes.h"
#include "storage/share_mode.h"

namespace intra {
namespace {

using testing::PrintFileFixture;
using std::chrono::milliseconds;

struct ViewDrukTest : ::testing::Test, PrintFileFixture {
  std::vector<std::string> top_rows;  // row 0 while the viewer is open (Alt+K)
  std::map<int, std::string> message_rows;

  void SetUp() override {
    publics().set("STACJA", Value(1));
    viewer_services().kalk = [this] { top_rows.push_back(screen_row(1)); };
    register_report_routine("Test_Raport", [](ReportArguments& args) {
      printer_output().line("Raport");
      for (Value* each : args) {
        printer_output().line(each->text());
        *each = Value(each->text() + "!");
      }
      printer_output().text("\r\n");
    });
  }
  void TearDown() override {
    register_report_routine("Test_Raport", {});
    viewer_services() = ViewerServices{};
    publics().clear();
  }
  void at(int ms, std::initializer_list<int> keys) { terminal.type_after(milliseconds(ms), keys); }
  void look_at_message(int ms) {
    clock.at(milliseconds(ms), [this, ms] { message_rows[ms] = screen_row(17); });
  }
};

TEST_F(ViewDrukTest, RunsTheReportIntoTheFileAndShowsIt) {
  write_bytes("wydruk01.prn", "stara tresc, dluzsza niz raport ..................\r\n");
  Value first("pierwszy"), second("drugi");
  at(100, {key::kAltK});
  at(200, {key::kEsc});
  EXPECT_TRUE(VIEW_DRUK("TEST_raport", "wydruk01.prn", &first, &second));
  EXPECT_EQ(bytes("wydruk01.prn"), "\r\nRaport\r\npierwszy\r\ndrugi\r\n");
  EXPECT_EQ(first.text(), "pierwszy!");
  EXPECT_EQ(second.text(), "drugi!");
  ASSERT_EQ(top_rows.size(), 1u);
  EXPECT_EQ(top_rows[0].substr(0, 6), "Raport");
  EXPECT_FALSE(printer_output().printer_on());
  EXPECT_TRUE(printer_output().screen_on());
}

TEST_F(ViewDrukTest, AnEmptyReportNameShowsTheFileWithoutWritingIt) {
  const std::string content = PrintFileFixture::lines_text({"", "Istniejacy"});
  write_bytes("wydruk01.prn", content);
  at(100, {key::kAltK});
  at(200, {key::kEsc});
  VIEW_DRUK("", "wydruk01.prn");
  EXPECT_EQ(bytes("wydruk01.prn"), content);
  ASSERT_EQ(top_rows.size(), 1u);
  EXPECT_EQ(top_rows[0].substr(0, 10), "Istniejacy");
}

TEST_F(ViewDrukTest, NoFileToShow) {
  look_at_message(500);
  VIEW_DRUK("", "rob\\brak.prn");
  EXPECT_NE(message_rows[500].find("Brak pliku rob\\brak.prn"), std::string::npos) << message_rows[500];
}

TEST_F(ViewDrukTest, AFileHeldOpenElsewhereGivesWayToTheNameWith51OrTheNextFree) {
  write_bytes("wydruk01.prn", "held\r\n");
  write_bytes("wydruk51.prn", "held too\r\n");
  auto holder = files.open("wydruk01.prn", OpenMode::Read);
  auto second_holder = files.open("wydruk51.prn", OpenMode::Read);
  ASSERT_EQ(take_share_mode(*holder, false), ShareResult::Granted);
  ASSERT_EQ(take_share_mode(*second_holder, false), ShareResult::Granted);
  write_bytes("wydruk52.prn", "stale\r\n");  // nobody holds it: deleted and taken
  at(100, {key::kAltK});
  at(200, {key::kEsc});
  VIEW_DRUK("Test_Raport", "wydruk01.prn");
  EXPECT_EQ(bytes("wydruk01.prn"), "held\r\n");
  EXPECT_EQ(bytes("wydruk51.prn"), "held too\r\n");
  EXPECT_EQ(bytes("wydruk52.prn"), "\r\nRaport\r\n");
  ASSERT_EQ(top_rows.size(), 1u);
  EXPECT_EQ(top_rows[0].substr(0, 6), "Raport");
}

TEST_F(ViewDrukTest, TheDiagnosticLineComesFirstWhileAaa111Exists) {
  write_bytes("AAA.111", "");
  at(100, {key::kEsc});
  VIEW_DRUK("Test_Raport", "wydruk01.prn");
  EXPECT_EQ(bytes("wydruk01.prn"), "Test_Raport\r\n\r\nRaport\r\n");
}

TEST_F(ViewDrukTest, WorkingOnACopy) {
  write_bytes("KOPIA.TXT", "");
  write_bytes("wydruk01.prn", "x\r\n");
  look_at_message(500);
  at(2000, {key::kEsc});
  VIEW_DRUK("", "wydruk01.prn");
  EXPECT_NE(message_rows[500].find("PRACUJESZ NA KOPII"), std::string::npos) << message_rows[500];
}

TEST_F(ViewDrukTest, TheMessageRectangleComesBack) {
  con.say(17, 30, "pod oknem komunikatow");
  at(100, {key::kEsc});
  VIEW_DRUK("Test_Raport", "wydruk01.prn");
  EXPECT_EQ(screen_row(17).substr(30, 21), "pod oknem komunikatow");
  EXPECT_FALSE(con.cursor_visible());
}

TEST_F(ViewDrukTest, ThePdfRequestIsAnsweredAfterTheViewerCloses) {
  std::vector<std::string> made;
  write_bytes("wydruk01.prn", "x\r\n");
  at(100, {key::kAltP});
  VIEW_DRUK("", "wydruk01.prn");
  EXPECT_TRUE(files.exists("PDF01.TXT"));  // no PDF routine yet: the request stays
  viewer_services().make_pdf = [&](const std::string& file) {
    made.push_back(file);
    return std::string("PDF\\x.pdf");
  };
  at(200, {key::kAltP});
  VIEW_DRUK("", "wydruk01.prn");
  EXPECT_FALSE(files.exists("PDF01.TXT"));
  EXPECT_EQ(made, std::vector<std::string>{"wydruk01.prn"});
}

TEST_F(ViewDrukTest, AnUnknownReportLeavesAnEmptyFile) {
  at(100, {key::kEsc});
  VIEW_DRUK("Nie_Ma_Takiego", "wydruk01.prn");
  EXPECT_EQ(bytes("wydruk01.prn"), "");
}

}  // namespace
}  // namespace intra
