#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "main/public_variables.h"
#include "print/process_runner.h"
#include "print/text_viewer.h"
#include "print/viewer_services.h"
#include "print_file_fixture.h"
#include "screen/key_codes.h"
#include "storage/share_mode.h"

namespace intra {
namespace {

using testing::PrintFileFixture;
using std::chrono::milliseconds;

const std::string kCodes = "\x1b" "3 \x1b!\x05";

struct RecordingRunner : ProcessRunner {
  std::vector<ProcessRequest> runs;
  bool run(const ProcessRequest& request) override {
    runs.push_back(request);
    return true;
  }
};

// The viewer with keys at fixed times (ms from the start) and pictures of
// the message row taken at given times.
struct DialogTest : ::testing::Test, PrintFileFixture {
  std::vector<std::string> printed;  // contents of the files printed
  std::vector<std::string> printed_names;
  std::map<int, std::string> message_rows;
  RecordingRunner runner;

  void SetUp() override {
    publics().set("STACJA", Value(1));
    set_process_runner(&runner);
    write_bytes("wydruk01.prn", lines_text({"", "Naglowek", "Pozycja 1", "Pozycja 2", "Razem"}));
  }
  void TearDown() override {
    viewer_services() = ViewerServices{};
    set_process_runner(nullptr);
    publics().clear();
  }
  void wire_printing(bool ready = true) {
    viewer_services().drukowac = [ready] { return ready; };
    viewer_services().file_to_printer = [this](const std::string& file) {
      printed_names.push_back(file);
      printed.push_back(bytes(file));
    };
  }
  void at(int ms, std::initializer_list<int> keys) { terminal.type_after(milliseconds(ms), keys); }
  void text_at(int ms, const std::string& text) {
    for (unsigned char c : text) at(ms++, {c});
  }
  void look_at_message(int ms) {
    clock.at(milliseconds(ms), [this, ms] { message_rows[ms] = screen_row(17); });
  }
  bool message_shown(int ms, const std::string& text) { return message_rows[ms].find(text) != std::string::npos; }
  TextViewer& run_viewer() {
    viewer = std::make_unique<TextViewer>("wydruk01.prn");
    viewer->READTEXT();
    return *viewer;
  }
  std::unique_ptr<TextViewer> viewer;
};

TEST_F(DialogTest, AltTWithAnEmptyNameAndEnter) {
  at(100, {key::kAltT});
  at(200, {key::kEnter});
  look_at_message(600);
  at(3000, {key::kEsc});
  run_viewer();
  EXPECT_TRUE(message_shown(600, "Nie kopiuje (nie podano pliku)")) << message_rows[600];
  EXPECT_FALSE(files.exists("TXT"));
}

TEST_F(DialogTest, AltTWithAnEmptyNameLeftByEsc) {
  at(100, {key::kAltT});
  at(200, {key::kEsc});
  look_at_message(600);
  at(3000, {key::kEsc});
  run_viewer();
  EXPECT_TRUE(message_shown(600, "Nie kopiuje (brak Enter)")) << message_rows[600];
}

TEST_F(DialogTest, AltTCopiesAndARememberedNameIsCopiedAgainAfterEsc) {
  at(100, {key::kAltT});
  text_at(200, "raport");
  at(300, {key::kEnter});
  look_at_message(1000);
  at(2000, {'x'});  // ends the ten-second message
  clock.at(milliseconds(2100), [this] { files.remove("TXT\\RAPORT.TXT"); });
  at(2200, {key::kAltT});
  at(2300, {key::kEsc});
  at(2400, {'x'});
  at(2500, {key::kEsc});
  run_viewer();
  EXPECT_TRUE(message_shown(1000, "Skopiowano do TXT\\RAPORT.TXT")) << message_rows[1000];
  EXPECT_EQ(bytes("TXT\\RAPORT.TXT"), bytes("wydruk01.prn"));
}

TEST_F(DialogTest, AltTKeepsANameThatEndsInTxt) {
  at(100, {key::kAltT});
  text_at(200, "kopia.txt");
  at(300, {key::kEnter});
  at(1000, {'x'});
  at(1100, {key::kEsc});
  run_viewer();
  EXPECT_TRUE(files.exists("TXT\\KOPIA.TXT"));
  EXPECT_FALSE(files.exists("TXT\\KOPIA.TXT.TXT"));
}

TEST_F(DialogTest, PrintKeysDoNothingUntilPrintingIsThere) {
  write_bytes("wydruk01.prn", lines_text(numbered(40)));
  at(100, {key::kDown});
  at(200, {key::F(5)});
  at(300, {key::AltF(5)});
  at(400, {key::CtrlF(5)});
  at(500, {key::kEsc});
  EXPECT_EQ(run_viewer().TEX1(1), 4u);  // no dialog took the Esc, nothing went back to the top
  EXPECT_TRUE(printed.empty());
}

TEST_F(DialogTest, F5PrintsTheFileAndShowsItFromTheTop) {
  write_bytes("wydruk01.prn", lines_text(numbered(40)));
  wire_printing();
  at(100, {key::kDown});
  at(200, {key::F(5)});
  at(300, {key::kEsc});
  TextViewer& shown = run_viewer();
  ASSERT_EQ(printed_names, std::vector<std::string>{"wydruk01.prn"});
  EXPECT_EQ(shown.TEX1(1), 0u);
  EXPECT_EQ(shown.repaints(), 3);
}

TEST_F(DialogTest, AltF5WithBothTextsEmptyDoesNothing) {
  wire_printing();
  at(100, {key::AltF(5)});
  at(200, {key::kEnter});
  at(300, {key::kEnter});
  at(400, {key::kEsc});
  EXPECT_EQ(run_viewer().repaints(), 1);
  EXPECT_TRUE(printed.empty());
}

TEST_F(DialogTest, AltF5WithOnlyAFromTextPrintsToTheEnd) {
  wire_printing();
  at(100, {key::AltF(5)});
  text_at(200, "pozycja 2");
  at(300, {key::kEnter});
  at(400, {key::kEnter});
  at(500, {key::kEsc});
  run_viewer();
  ASSERT_EQ(printed_names, std::vector<std::string>{"wydruk01.pr"});
  EXPECT_EQ(printed[0], kCodes + "Pozycja 2\r\nRazem\r\n\r\n");
}

TEST_F(DialogTest, AltF5BetweenTwoTextsAndNotWhenThePrinterIsNotReady) {
  wire_printing();
  at(100, {key::AltF(5)});
  text_at(200, "naglowek");
  at(300, {key::kEnter});
  text_at(400, "pozycja 1");
  at(500, {key::kEnter});
  at(600, {key::kEsc});
  run_viewer();
  ASSERT_EQ(printed.size(), 1u);
  EXPECT_EQ(printed[0], kCodes + "Naglowek\r\nPozycja 1\r\n\r\n");
}

TEST_F(DialogTest, AltF5LeftByEscPrintsNothing) {
  wire_printing();
  at(100, {key::AltF(5)});
  text_at(200, "naglowek");
  at(300, {key::kEsc});
  at(400, {key::kEsc});
  run_viewer();
  EXPECT_TRUE(printed.empty());
}

TEST_F(DialogTest, CtrlF5PrintsAfterBlankLinesAndKeepsTheCopy) {
  wire_printing();
  at(100, {key::CtrlF(5)});
  text_at(200, "2");
  at(300, {key::kEnter});
  at(400, {key::kEsc});
  run_viewer();
  ASSERT_EQ(printed.size(), 1u);
  EXPECT_EQ(printed[0], kCodes + "\r\n\r\n" + bytes("wydruk01.prn") + "\r\n");
  EXPECT_TRUE(files.exists("wydruk01.pr"));
}

TEST_F(DialogTest, TheBottomRowsComeBackAfterADialog) {
  wire_printing();
  std::string before, during, after;
  viewer_services().kalk = [&] { (before.empty() ? before : after) = screen_row(24); };
  clock.at(milliseconds(250), [&] { during = screen_row(24); });
  at(100, {key::kAltK});
  at(200, {key::CtrlF(5)});
  at(300, {key::kEsc});
  at(400, {key::kAltK});
  at(500, {key::kEsc});
  run_viewer();
  EXPECT_EQ(during.substr(0, 27), "ILE zrobic pustych wierszy:");
  EXPECT_EQ(after, before);
  EXPECT_FALSE(con.cursor_visible());
}

TEST_F(DialogTest, AltPLeavesThePdfRequestAndClosesTheViewer) {
  at(100, {key::kAltP});
  run_viewer();
  EXPECT_EQ(bytes("PDF01.TXT"), bytes("wydruk01.prn"));
}

struct MailTest : DialogTest {
  std::vector<std::string> pdf_made;
  void SetUp() override {
    DialogTest::SetUp();
    write_bytes("BLAT.EXE", "");
    write_bytes("E_POCZTA.TXT", "");
    publics().set("M_SMTP", Value("  smtp.firma.pl "));
    viewer_services().make_pdf = [this](const std::string& file) {
      pdf_made.push_back(file);
      return std::string("PDF\\dowod.pdf");
    };
  }
};

TEST_F(MailTest, RunsTheMailerWithEachArgumentAsTyped) {
  at(100, {key::kAltE});
  text_at(200, "a@b;rm -rf ~");
  at(300, {key::kEnter});
  at(400, {key::kEnter});
  run_viewer();
  ASSERT_EQ(runner.runs.size(), 1u);
  const ProcessRequest& run = runner.runs[0];
  EXPECT_EQ(run.program, "blat");
  const std::vector<std::string> expected = {"text.txt", "-to",       "a@b;rm -rf ~", "-server",
                                             "smtp.firma.pl", "-subject", "Dowod ...", "-attach",
                                             files.resolve("PDF\\dowod.pdf").string()};
  EXPECT_EQ(run.arguments, expected);
  EXPECT_EQ(pdf_made, std::vector<std::string>{"wydruk01.prn"});
  EXPECT_EQ(bytes("text.txt"), "Pozdrawiam\r\n");
}

TEST_F(MailTest, AnAddressWithoutAtSendsNothingButClosesTheViewer) {
  at(100, {key::kAltE});
  text_at(200, "nikt");
  at(300, {key::kEnter});
  at(400, {key::kEnter});
  run_viewer();
  EXPECT_TRUE(runner.runs.empty());
  EXPECT_TRUE(pdf_made.empty());
}

TEST_F(MailTest, IgnoredWithoutTheMailerOrAServer) {
  files.remove("BLAT.EXE");
  at(100, {key::kAltE});
  at(200, {key::kEsc});
  run_viewer();
  write_bytes("BLAT.EXE", "");
  publics().set("M_SMTP", Value("   "));
  at(300, {key::kAltE});
  at(400, {key::kEsc});
  run_viewer();
  EXPECT_TRUE(runner.runs.empty());
}

TEST_F(DialogTest, AltBCopiesTheCurrentTableAndKeepsItsRecord) {
  make_table("zo", {{"KOD", 'C', 4, 0}});
  DBSELECTAREA(3);
  ASSERT_TRUE(DBUSEAREA("zo", "zo", true));
  for (const char* kod : {"A", "B", "C"}) {
    ASSERT_TRUE(DBAPPEND());
    FIELDPUT("KOD", Value(kod));
  }
  DBGOTO(2);
  ASSERT_TRUE(RLOCK());
  ASSERT_TRUE(DBDELETE());
  DBGOTO(3);
  at(100, {key::kAltB});
  text_at(200, "kopia");
  at(300, {key::kEnter});
  look_at_message(800);
  at(2000, {key::kEsc});
  run_viewer();
  EXPECT_TRUE(message_shown(800, "Skopiowano do KOPIA")) << message_rows[800];
  EXPECT_EQ(RECNO(), 3u);
  DBSELECTAREA(5);
  ASSERT_TRUE(DBUSEAREA("KOPIA", "kopia", true));
  EXPECT_EQ(LASTREC(), 2u);
  std::string kody;
  for (DBGOTOP(); !EOF_(); DBSKIP()) kody += FIELDGET("KOD").text();
  EXPECT_EQ(kody, "A   C   ");
}

TEST_F(DialogTest, AltBWithoutATable) {
  viewer_services().kalk = [this] { message_rows[0] = screen_row(17); };
  DBSELECTAREA(200);
  at(100, {key::kAltB});
  text_at(200, "kopia");
  at(300, {key::kEnter});
  at(400, {key::kAltK});
  at(500, {key::kEsc});
  run_viewer();
  EXPECT_TRUE(message_shown(0, "Brak bazy")) << message_rows[0];
}

}  // namespace
}  // namespace intra

namespace intra {
namespace {

TEST_F(DialogTest, AltWCopiesUnderThePrintFilesOwnNameAndEditsTheCopy) {
  std::vector<std::string> edited;
  publics().set("PLIK", Value("rob\\wydruk01.prn"));
  at(100, {key::kAltW});
  at(200, {key::kEsc});
  run_viewer();  // no editor yet: nothing happens
  EXPECT_FALSE(files.exists("TXT"));
  viewer_services().medit = [&](const std::string& file) { edited.push_back(file); };
  at(300, {key::kAltW});
  at(400, {key::kEsc});
  run_viewer();
  EXPECT_EQ(edited, std::vector<std::string>{"TXT\\wydruk01.TXT"});
  EXPECT_EQ(bytes("TXT\\wydruk01.TXT"), bytes("wydruk01.prn"));
}

TEST_F(MailTest, TheServerFromTheCompanyRecordAndTheAddressFromTheContractor) {
  publics().set("M_SMTP", Value(false));
  make_table("firma", {{"SMTP", 'C', 30, 0}});
  make_table("zo", {{"E_MAIL", 'C', 40, 0}});
  DBSELECTAREA(1);
  ASSERT_TRUE(DBUSEAREA("firma", "firma", true));
  ASSERT_TRUE(DBAPPEND());
  FIELDPUT("SMTP", Value("poczta.firma.pl"));
  DBSELECTAREA(3);
  ASSERT_TRUE(DBUSEAREA("zo", "zo", true));
  ASSERT_TRUE(DBAPPEND());
  FIELDPUT("E_MAIL", Value("kontrahent@example.pl"));
  at(100, {key::kAltE});
  at(200, {key::kEnter});
  at(300, {key::kEnter});
  run_viewer();
  ASSERT_EQ(runner.runs.size(), 1u);
  EXPECT_EQ(runner.runs[0].arguments[2], "kontrahent@example.pl");
  EXPECT_EQ(runner.runs[0].arguments[4], "poczta.firma.pl");
}

}  // namespace
}  // namespace intra
