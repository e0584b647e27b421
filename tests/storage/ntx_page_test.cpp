// Insertion and removal permute the slot table of a page and leave the item
// bytes where they are; damaged slot tables are recognised.
#include <gtest/gtest.h>

#include "storage/ntx_page.h"

namespace intra {
namespace {

class NtxPageTest : public ::testing::Test {
 protected:
  NtxPageTest() { NtxPage::format_new(buffer.bytes, g); }
  std::vector<int> slots() const {
    std::vector<int> out;
    for (int e = 0; e <= g.max_keys; ++e) out.push_back(page.slot(e));
    return out;
  }
  std::string keys() const {
    std::string out;
    for (int e = 0; e < page.count(); ++e) out += static_cast<char>(page.key(e)[0]);
    return out;
  }
  void insert(int position, char key) {
    const unsigned char bytes[4] = {static_cast<unsigned char>(key), ' ', ' ', ' '};
    page.insert(position, 0, static_cast<std::uint32_t>(key), bytes);
  }

  NtxGeometry g = NtxGeometry::of(4, 4);  // m = 4: slots at 12, 24, 36, 48, 60
  NtxPageBuffer buffer;
  NtxPage page{&buffer, &g};
};

TEST_F(NtxPageTest, InsertTakesTheFirstFreeSlotAndRemoveGivesItBack) {
  page.set_child(0, 7000);  // the rightmost child of the empty page
  insert(0, 'C');
  EXPECT_EQ(slots(), (std::vector<int>{24, 12, 36, 48, 60}));
  insert(0, 'A');
  insert(1, 'B');
  EXPECT_EQ(keys(), "ABC");
  EXPECT_EQ(slots(), (std::vector<int>{36, 48, 24, 12, 60}));
  EXPECT_EQ(page.child(3), 7000u);  // the rightmost child moved along with its slot
  const std::string before(reinterpret_cast<const char*>(buffer.bytes) + 12, 60);
  page.remove(1);
  EXPECT_EQ(keys(), "AC");
  EXPECT_EQ(slots(), (std::vector<int>{36, 24, 12, 48, 60}));
  EXPECT_EQ(page.child(2), 7000u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.bytes) + 12, 60), before);  // no item byte moved
  insert(1, 'B');
  EXPECT_EQ(slots(), (std::vector<int>{36, 48, 24, 12, 60}));
  EXPECT_TRUE(buffer.changed);
  EXPECT_EQ(NtxPage::validate(buffer.bytes, g), "");
}

TEST_F(NtxPageTest, FillingANewPageKeepsTheSlotsInOrder) {
  const unsigned char key[4] = {'K', ' ', ' ', ' '};
  for (int i = 0; i < 4; ++i) page.fill_next(100u + static_cast<std::uint32_t>(i), 1, key);
  page.set_child(4, 900);
  EXPECT_EQ(slots(), (std::vector<int>{12, 24, 36, 48, 60}));
  EXPECT_EQ(page.child(0), 100u);
  EXPECT_EQ(page.child(4), 900u);
  // A full page takes no more: nothing is written outside the slot table.
  insert(0, 'Z');
  page.fill_next(1, 1, key);
  EXPECT_EQ(page.count(), 4);
  EXPECT_EQ(NtxPage::validate(buffer.bytes, g), "");
}

TEST_F(NtxPageTest, ValidationRefusesCountsAndSlotTablesThatCannotBe) {
  struct Case {
    std::size_t at;
    unsigned value;
    const char* problem;
  };
  const std::vector<Case> cases = {
      {0, 5, "key count 5 above 4"},           {2, 11, "slot offset 11 is not an item slot"},
      {2, 13, "slot offset 13 is not an item slot"}, {2, 72, "slot offset 72 is not an item slot"},
      {4, 12, "slot offset 12 appears twice"},
  };
  for (const Case& c : cases) {
    NtxPage::format_new(buffer.bytes, g);
    buffer.bytes[c.at] = static_cast<unsigned char>(c.value);
    buffer.bytes[c.at + 1] = 0;
    EXPECT_EQ(NtxPage::validate(buffer.bytes, g), c.problem);
  }
}

}  // namespace
}  // namespace intra
