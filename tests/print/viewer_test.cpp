#include "print/text_viewer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "print/viewer_services.h"
#include "print_file_fixture.h"
#include "screen/colour.h"
#include "screen/key_codes.h"

namespace intra {
namespace {

using testing::PrintFileFixture;

// The viewer over a fixture file; Alt+K (the calculator's key) takes a
// picture of the screen and the window while the viewer is open.
struct ViewerTest : ::testing::Test, PrintFileFixture {
  struct Picture {
    std::vector<std::string> rows;  // screen rows 0 to 24
    std::uint64_t top = 0;
    int offset = 0;
  };
  std::vector<Picture> pictures;
  std::unique_ptr<TextViewer> viewer;

  void SetUp() override {
    viewer_services().kalk = [this] {
      Picture picture;
      for (int r = 0; r < 25; ++r) picture.rows.push_back(screen_row(r));
      picture.top = viewer->TEX1(1);
      picture.offset = viewer->WYROWN();
      pictures.push_back(picture);
    };
  }
  void TearDown() override { viewer_services() = ViewerServices{}; }

  void view(const std::string& bytes, const std::vector<int>& keys) {
    write_bytes("wydruk01.prn", bytes);
    viewer = std::make_unique<TextViewer>("wydruk01.prn");
    std::vector<int> all = keys;
    all.push_back(key::kEsc);
    press(all);
    viewer->READTEXT();
  }
  static std::string row_of(const std::string& line) {
    std::string row = line.substr(0, 80);
    row.resize(80, ' ');
    return row;
  }
};

TEST_F(ViewerTest, AFileShorterThanTheWindowEndsInBlankRowsAndDownAndPgDnDoNothing) {
  view(lines_text({"", "Pierwszy", "Drugi"}), {key::kAltK, key::kDown, key::kPgDn, key::kAltK});
  ASSERT_EQ(pictures.size(), 2u);
  for (const Picture& picture : pictures) {
    EXPECT_EQ(picture.top, 0u);
    EXPECT_EQ(picture.rows[0], std::string(80, ' '));  // the usual empty first line
    EXPECT_EQ(picture.rows[1], row_of("Pierwszy"));
    EXPECT_EQ(picture.rows[2], row_of("Drugi"));
    for (int r = 3; r < 24; ++r) EXPECT_EQ(picture.rows[r], std::string(80, ' ')) << r;
  }
  EXPECT_EQ(viewer->repaints(), 1);
  EXPECT_EQ(viewer->TEX1(4), viewer->TEXT_EOF());
  EXPECT_EQ(viewer->TEX2(4), "");
}

TEST_F(ViewerTest, UpAndPgUpOnTheFirstLineCauseNoRepaint) {
  view(lines_text(numbered(50)), {key::kUp, key::kPgUp, key::kCtrlPgUp});
  EXPECT_EQ(viewer->repaints(), 1);
  EXPECT_EQ(viewer->TEX1(1), 0u);
}

TEST_F(ViewerTest, WindowMovesByLinesAndPages) {
  const std::vector<std::string> lines = numbered(100);
  std::vector<std::uint64_t> starts;
  std::uint64_t at = 0;
  for (const std::string& line : lines) starts.push_back(at), at += line.size() + 2;
  view(lines_text(lines), {key::kPgDn, key::kAltK, key::kDown, key::kAltK, key::kUp, key::kUp, key::kAltK,
                           key::kCtrlPgDn, key::kAltK, key::kPgUp, key::kAltK, key::kCtrlPgUp, key::kAltK});
  ASSERT_EQ(pictures.size(), 6u);
  EXPECT_EQ(pictures[0].top, starts[24]);
  EXPECT_EQ(pictures[0].rows[0], row_of("L25"));
  EXPECT_EQ(pictures[1].top, starts[25]);
  EXPECT_EQ(pictures[2].top, starts[23]);
  // Ctrl+PgDn: the last line on the bottom row.
  EXPECT_EQ(pictures[3].top, starts[76]);
  EXPECT_EQ(pictures[3].rows[23], row_of("L100"));
  EXPECT_EQ(pictures[4].top, starts[52]);
  EXPECT_EQ(pictures[5].top, 0u);
  EXPECT_EQ(pictures[5].rows[0], row_of("L1"));
}

TEST_F(ViewerTest, CtrlPgDnOnAShortFileShowsItFromItsFirstLine) {
  view(lines_text(numbered(10)), {key::kCtrlPgDn, key::kAltK});
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].top, 0u);
  EXPECT_EQ(pictures[0].rows[9], row_of("L10"));
}

TEST_F(ViewerTest, CtrlPgDnShowsALastLineWithoutItsLineEndOnTheBottomRow) {
  view(lines_text(numbered(40)) + "ostatni", {key::kCtrlPgDn, key::kAltK});
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].rows[22], row_of("L40"));
  EXPECT_EQ(pictures[0].rows[23], row_of("ostatni"));
}

TEST_F(ViewerTest, MovingBackAcrossLinesEndingInBlanksLandsOnLineStarts) {
  std::vector<std::string> lines;
  for (int i = 1; i <= 60; ++i) lines.push_back("W" + std::to_string(i) + std::string(static_cast<std::size_t>(i % 7) * 30, ' '));
  std::vector<std::uint64_t> starts;
  std::uint64_t at = 0;
  for (const std::string& line : lines) starts.push_back(at), at += line.size() + 2;
  view(lines_text(lines), {key::kPgDn, key::kPgDn, key::kUp, key::kAltK, key::kPgUp, key::kAltK});
  ASSERT_EQ(pictures.size(), 2u);
  EXPECT_EQ(pictures[0].top, starts[47]);
  EXPECT_EQ(pictures[0].rows[0], row_of(lines[47]));
  EXPECT_EQ(pictures[1].top, starts[23]);
  EXPECT_EQ(pictures[1].rows[0], row_of(lines[23]));
}

TEST_F(ViewerTest, HorizontalOffsets) {
  struct Case {
    std::vector<int> keys;
    int offset;
  };
  const std::vector<int> to_745(93, key::kRight);  // 1 + 93 * 8
  const std::vector<int> to_361(9, key::kEnd);     // 1 + 9 * 40
  auto then = [](std::vector<int> keys, std::initializer_list<int> more) {
    keys.insert(keys.end(), more);
    return keys;
  };
  const std::vector<Case> cases = {
      {to_745, 745},
      {then(to_745, {key::kRight}), 753},
      {then(to_745, {key::kRight, key::kRight}), 750},
      {then(to_361, {key::kEnd}), 401},
      {then(to_361, {key::kEnd, key::kEnd}), 750},
      {{key::kRight, key::kLeft}, 1},
      {{key::kLeft}, 1},
      {{key::kEnd, key::kRight, key::kLeft}, 41},
      {{key::kEnd, key::kEnd, key::kHome}, 41},
      {{key::kEnd, key::kHome, key::kHome}, 1},
      {{key::kEnd, key::kRight, key::kEnter}, 1},
  };
  std::string line;
  for (int i = 0; i < 748; ++i) line += static_cast<char>('a' + i % 26);
  for (const Case& c : cases) {
    pictures.clear();
    view(lines_text({line}), then(c.keys, {key::kAltK}));
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].offset, c.offset);
    const std::size_t from = static_cast<std::size_t>(c.offset - 1);
    EXPECT_EQ(pictures[0].rows[0], row_of(from < line.size() ? line.substr(from) : "")) << c.offset;
  }
}

TEST_F(ViewerTest, TheStatusLineNamesTheFileAndItsKeys) {
  view(lines_text({"x"}), {key::kAltK});
  ASSERT_EQ(pictures.size(), 1u);
  const std::string expected = std::string("wydruk01.prn") + std::string(11, ' ') +
                               "Keys: \x18\x19\x1b\x1a PgUp PgDn     F5-Druk (Alt_F5)     Esc-Wyjscie";
  EXPECT_EQ(pictures[0].rows[24].substr(0, expected.size()), expected);
}

TEST_F(ViewerTest, StatusLineColours) {
  viewer_services().kalk = [this] {
    Attribute a{};
    ColourSetting::parse_pair("RG/N", a);
    EXPECT_EQ(attr(24, 0), a);
    ColourSetting::parse_pair("W", a);
    EXPECT_EQ(attr(24, 23), a);
    ColourSetting::parse_pair("W+", a);
    EXPECT_EQ(attr(24, 29), a);
    EXPECT_EQ(attr(24, 48), a);
    EXPECT_EQ(attr(24, 69), a);
    ColourSetting::parse_pair("N/W", a);
    EXPECT_EQ(attr(0, 0), a);
    pictures.push_back({});
  };
  view(lines_text({"x"}), {key::kAltK});
  EXPECT_EQ(pictures.size(), 1u);
}

TEST_F(ViewerTest, KeysTypedDuringARepaintAreDropped) {
  write_bytes("wydruk01.prn", lines_text(numbered(100)));
  viewer = std::make_unique<TextViewer>("wydruk01.prn");
  // The Downs come in together with PgDn, so they wait while its window
  // is painted.
  terminal.type_after(std::chrono::milliseconds(100), {key::kPgDn, key::kDown, key::kDown, key::kDown});
  terminal.type_after(std::chrono::milliseconds(300), {key::kEsc});
  viewer->READTEXT();
  EXPECT_EQ(viewer->TEX2(1), "L25");
}

TEST_F(ViewerTest, TheScreenComesBackAsItWas) {
  con.say(3, 5, "pod spodem");
  con.show_cursor(true);
  view(lines_text(numbered(30)), {key::kPgDn});
  EXPECT_EQ(screen_row(3).substr(5, 10), "pod spodem");
  EXPECT_EQ(screen_row(0), std::string(80, ' '));
  EXPECT_TRUE(con.cursor_visible());
}

TEST_F(ViewerTest, AFileThatCannotBeOpenedShowsNothing) {
  viewer = std::make_unique<TextViewer>("brak.prn");
  EXPECT_EQ(viewer->READTEXT(), 0);
  EXPECT_EQ(viewer->repaints(), 0);
}

TEST_F(ViewerTest, OtherKeysAreIgnored) {
  view(lines_text(numbered(30)), {'x', key::F(2), key::kPgDn});
  EXPECT_EQ(viewer->TEX2(1), "L25");
}

}  // namespace
}  // namespace intra
