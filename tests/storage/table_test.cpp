#include <fcntl.h>
#include <gtest/gtest.h>

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

#include "storage/table.h"
#include "table_fixture.h"

namespace intra {
namespace {

using testing::TableFixture;

const std::vector<FieldSpec> kStock = {{"MAG", 'C', 1, 0}, {"INDEKS", 'C', 8, 0}, {"DATA", 'D', 8, 0}};

struct TableTest : ::testing::Test, TableFixture {};

TEST_F(TableTest, CreationWritesTheExactHeader) {
  ASSERT_TRUE(create("as", kStock)) << last_error.message();
  const std::string b = bytes("as.dbf");
  ASSERT_EQ(b.size(), 131u);
  EXPECT_EQ(b[0], '\x03');
  EXPECT_EQ(b.substr(1, 3), std::string("\x7E\x0C\x0B", 3));  // 11.12.2026
  EXPECT_EQ(b.substr(4, 4), std::string(4, '\0'));
  EXPECT_EQ(static_cast<unsigned char>(b[8]), 130);
  EXPECT_EQ(static_cast<unsigned char>(b[10]), 18);
  EXPECT_EQ(b.substr(32, 11), std::string("MAG\0\0\0\0\0\0\0\0", 11));
  EXPECT_EQ(b[32 + 11], 'C');
  EXPECT_EQ(static_cast<unsigned char>(b[64 + 16]), 8);
  EXPECT_EQ(b.substr(128), std::string("\x0D\x00\x1A", 3));
  auto t = open("AS");
  ASSERT_TRUE(t) << last_error.message();
  EXPECT_EQ(t->record_count(), 0u);
  EXPECT_EQ(t->header_length(), 130);
  EXPECT_EQ(t->record_length(), 18);
}

TEST_F(TableTest, MemoTableGetsVersion83AndAnEmptyMemoFile) {
  ASSERT_TRUE(create("notes", {{"NR", 'N', 5, 0}, {"TEKST", 'M', 10, 0}})) << last_error.message();
  EXPECT_EQ(bytes("notes.dbf")[0], '\x83');
  const std::string memo = bytes("notes.dbt");
  ASSERT_EQ(memo.size(), 512u);
  EXPECT_EQ(memo.substr(0, 4), std::string("\x01\x00\x00\x00", 4));
  auto t = open("notes", false);
  ASSERT_TRUE(t && t->has_memo());
  ASSERT_TRUE(t->append());
  ASSERT_TRUE(t->put(1, Value(std::string(600, 'x'))));
  ASSERT_TRUE(t->close());
  auto again = open("notes");
  EXPECT_EQ(again->get(1).text(), std::string(600, 'x'));
  std::string_view raw;
  again->raw(1, raw);
  EXPECT_EQ(raw, "         1");
}

TEST_F(TableTest, HeaderDateAndRecordCountFollowTheFile) {
  clock = VirtualClock(LocalTime{Date::from_ymd(2023, 12, 31), 12, 0, 0, 0});
  ASSERT_TRUE(create("t", kStock));
  EXPECT_EQ(bytes("t.dbf").substr(1, 3), std::string("\x7B\x0C\x1F", 3));
  // A header claiming 100 records over 98 whole ones and half a record.
  std::string b = bytes("t.dbf").substr(0, 130);
  b[4] = 100;
  b += std::string(98 * 18 + 9, ' ');
  write_bytes("t.dbf", b);
  auto t = open("t");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->record_count(), 98u);
}

TEST_F(TableTest, CorruptTablesAreRefused) {
  ASSERT_TRUE(create("good", kStock));
  const std::string good = bytes("good.dbf");
  struct Case {
    const char* what;
    std::string content;
    const char* detail;
  } cases[] = {
      {"version 0x04", "\x04" + good.substr(1), "bad version byte 0x04"},
      {"unknown type", good.substr(0, 43) + "Q" + good.substr(44), "unknown field type 0x51"},
      {"no field", good.substr(0, 32) + "\x0D" + good.substr(33), "no field"},
      {"short", good.substr(0, 20), "file shorter than its header"},
      {"cut descriptors", good.substr(0, 70), "descriptor area cannot be read"},
      {"header length 0", good.substr(0, 8) + std::string(2, '\0') + good.substr(10), "leaves no room"},
  };
  for (const Case& c : cases) {
    write_bytes("bad.dbf", c.content);
    EXPECT_FALSE(open("bad")) << c.what;
    EXPECT_EQ(last_error.kind, TableErrorKind::Corruption) << c.what;
    EXPECT_EQ(last_error.specific_code(), 1012);
    EXPECT_NE(last_error.message().find(c.detail), std::string::npos) << last_error.message();
  }
  EXPECT_FALSE(open("missing"));
  EXPECT_EQ(last_error.kind, TableErrorKind::OpenError);
  EXPECT_EQ(last_error.os_code, 2);
}

TEST_F(TableTest, FieldsRoundTripAndEncodeExactly) {
  ASSERT_TRUE(create("t", {{"NAZWA", 'C', 8, 0}, {"ILOSC", 'N', 6, 2}, {"STAN", 'N', 3, 0}, {"OK", 'L', 1, 0},
                           {"DATA", 'D', 8, 0}, {"CENA", 'N', 5, 1}}));
  auto t = open("t", false);
  ASSERT_TRUE(t->append());
  EXPECT_TRUE(t->put(0, Value("A twenty char text..")));
  EXPECT_TRUE(t->put(1, Value(-3.5)));
  EXPECT_TRUE(t->put(2, Value(7)));
  EXPECT_TRUE(t->put(3, Value(true)));
  EXPECT_TRUE(t->put(4, Value(Date::from_ymd(2024, 5, 31))));
  EXPECT_FALSE(t->put(5, Value(1234.5)));
  EXPECT_EQ(t->error().kind, TableErrorKind::DataWidth);
  EXPECT_FALSE(t->put(2, Value("text")));
  EXPECT_EQ(t->error().kind, TableErrorKind::DataType);
  ASSERT_TRUE(t->close());
  EXPECT_EQ(bytes("t.dbf").substr(226, 32), " A twenty -3.50  7T20240531*****");
  EXPECT_EQ(bytes("t.dbf").substr(258), "\x1A");
  auto r = open("t");
  EXPECT_EQ(r->get(0).text(), "A twenty");
  EXPECT_EQ(r->get(1).number(), -3.5);
  EXPECT_TRUE(r->get(3).logical());
  EXPECT_EQ(r->get(4).date(), Date::from_ymd(2024, 5, 31));
  EXPECT_EQ(r->get(5).number(), 0);
}

TEST_F(TableTest, SharedChangesNeedALockAndThePhantomTakesNothing) {
  ASSERT_TRUE(create("t", kStock));
  {
    auto t = open("t", false);
    t->append();
    t->put(1, Value("ABC"));
  }
  const std::string before = bytes("t.dbf");
  auto t = open("t");
  EXPECT_FALSE(t->put(1, Value("XYZ")));
  EXPECT_EQ(t->error().kind, TableErrorKind::LockRequired);
  EXPECT_FALSE(t->delete_record());
  t->go_to(2);
  EXPECT_TRUE(t->at_phantom());
  EXPECT_EQ(t->recno(), 2u);
  EXPECT_TRUE(t->put(1, Value("XYZ")));
  EXPECT_EQ(t->get(1).text(), "        ");
  t->close();
  EXPECT_EQ(bytes("t.dbf"), before);
}

TEST_F(TableTest, SharedAppendWritesAtOnceExclusiveAppendAtTheEnd) {
  ASSERT_TRUE(create("t", kStock));
  auto shared = open("t");
  ASSERT_TRUE(shared->append());
  EXPECT_EQ(bytes("t.dbf").size(), 130u + 18u);  // shared: no end marker
  EXPECT_EQ(bytes("t.dbf")[4], 1);
  EXPECT_TRUE(shared->record_locked(1));
  shared->put(1, Value("NEW"));
  shared->close();
  EXPECT_EQ(bytes("t.dbf").substr(132, 3), "NEW");

  auto exclusive = open("t", false);
  const std::string before = bytes("t.dbf");
  ASSERT_TRUE(exclusive->append());
  exclusive->put(1, Value("SECOND"));
  EXPECT_EQ(bytes("t.dbf"), before);
  ASSERT_TRUE(exclusive->commit());
  const std::string after = bytes("t.dbf");
  EXPECT_EQ(after.size(), 130u + 2 * 18u + 1u);
  EXPECT_EQ(after[4], 2);
  EXPECT_EQ(after.back(), '\x1A');
}

TEST_F(TableTest, TwoOpensSeeEachOthersAppendsAndLocks) {
  ASSERT_TRUE(create("t", kStock));
  auto a = open("t");
  auto b = open("t");
  ASSERT_TRUE(a && b);
  ASSERT_TRUE(a->append());
  a->put(1, Value("FROM A"));
  a->flush_record();
  EXPECT_EQ(b->record_count(), 1u);
  b->go_to(1);
  EXPECT_EQ(b->get(1).text(), "FROM A  ");
  EXPECT_FALSE(b->lock_record(1));  // A still holds its new record
  EXPECT_FALSE(b->lock_file());
  a->unlock_all();
  EXPECT_TRUE(b->lock_file());
  EXPECT_FALSE(a->lock_record(1));  // the file lock keeps record locks out
  EXPECT_FALSE(a->append());
  EXPECT_EQ(a->error().kind, TableErrorKind::AppendLockFailed);
  EXPECT_EQ(b->record_count(), 1u);  // the failed append left the table as it was
  b->unlock_all();
  EXPECT_TRUE(a->lock_record(1));
  EXPECT_TRUE(a->lock_record(1, true));
}

TEST_F(TableTest, ShareModesExcludeAsOnTheNetwork) {
  ASSERT_TRUE(create("firma", kStock));
  auto shared = open("firma");
  ASSERT_TRUE(shared);
  EXPECT_FALSE(open("firma", false));
  EXPECT_EQ(last_error.kind, TableErrorKind::OpenError);
  EXPECT_TRUE(last_error.sharing_conflict());
  shared.reset();
  auto alone = open("firma", false);
  ASSERT_TRUE(alone);
  EXPECT_FALSE(open("firma"));
  EXPECT_TRUE(last_error.sharing_conflict());
  EXPECT_FALSE(create("firma", kStock));
  EXPECT_EQ(last_error.kind, TableErrorKind::CreateError);
}

// Another station as another process: it runs `work`, tells whether that
// succeeded, and keeps everything it opened until finish(), so its files
// and locks stay held while the test looks.
class OtherStation {
 public:
  explicit OtherStation(const std::function<bool()>& work) {
    if (pipe(ready_) != 0 || pipe(finish_) != 0) return;
    child_ = fork();
    if (child_ == 0) {
      char c = work() ? 'y' : 'n';
      (void)!write(ready_[1], &c, 1);
      (void)!read(finish_[0], &c, 1);
      _exit(c == 'n' ? 1 : 0);
    }
    char c = 0;
    started_ = child_ > 0 && read(ready_[0], &c, 1) == 1 && c == 'y';
  }
  bool started() const { return started_; }
  // Ends the station; true when it exited cleanly.
  bool finish() {
    if (child_ <= 0) return false;
    (void)!write(finish_[1], "x", 1);
    int status = 0;
    waitpid(child_, &status, 0);
    child_ = 0;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  ~OtherStation() {
    if (child_ > 0) finish();
  }

 private:
  int ready_[2] = {-1, -1}, finish_[2] = {-1, -1};
  pid_t child_ = -1;
  bool started_ = false;
};

TEST_F(TableTest, AnotherProcessHoldsTheTableAndAppends) {
  ASSERT_TRUE(create("t", kStock));
  std::unique_ptr<Table> held;
  OtherStation station([&] {
    TableError error;
    held = Table::open(files, "t", OpenOptions{}, error);
    return held && held->append() && held->put(1, Value("CHILD")) && held->flush_record();
  });
  ASSERT_TRUE(station.started());
  EXPECT_FALSE(open("t", false));  // the other station has it open
  EXPECT_TRUE(last_error.sharing_conflict());
  auto t = open("t");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->record_count(), 1u);
  EXPECT_FALSE(t->lock_record(1));  // still locked by the other station
  EXPECT_TRUE(station.finish());
  EXPECT_TRUE(t->lock_record(1));  // its locks died with it
  EXPECT_EQ(t->get(1).text(), "CHILD   ");
}

// Other programs and file servers use the classic per-process record locks;
// ours must collide with them on the same regions.
TEST_F(TableTest, ClassicRecordLocksOfAnotherProgramConflict) {
  ASSERT_TRUE(create("t", kStock));
  OtherStation program([&] {
    const int fd = ::open(files.resolve("t.dbf").c_str(), O_RDWR);
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(LockLayout::standard().record(5));
    fl.l_len = 1;
    return fd >= 0 && fcntl(fd, F_SETLK, &fl) == 0;
  });
  ASSERT_TRUE(program.started());
  auto t = open("t");
  EXPECT_FALSE(t->lock_record(5));
  EXPECT_TRUE(t->lock_record(6));
  EXPECT_FALSE(t->lock_file());
  EXPECT_TRUE(program.finish());
  EXPECT_TRUE(t->lock_file());
}

TEST_F(TableTest, DeletionFlagsPackAndZap) {
  ASSERT_TRUE(create("t", kStock));
  auto t = open("t", false);
  for (const char* name : {"A", "B", "C", "D"}) {
    t->append();
    t->put(1, Value(name));
  }
  t->go_to(2);
  t->delete_record();
  t->close();
  // Another program marked record 3 with 'D' and record 4 with 'E'.
  std::string b = bytes("t.dbf");
  b[130 + 2 * 18] = 'D';
  b[130 + 3 * 18] = 'E';
  write_bytes("t.dbf", b);
  t = open("t", false);
  t->go_to(3);
  EXPECT_TRUE(t->deleted());
  t->recall();
  t->go_to(4);
  EXPECT_FALSE(t->deleted());
  t->delete_record();
  t->go_to(1);
  EXPECT_EQ(bytes("t.dbf")[130 + 2 * 18], 'E');
  EXPECT_EQ(bytes("t.dbf")[130 + 3 * 18], 'D');
  t->go_to(4);
  t->put(1, Value("Z"));  // assigning a field writes the classic flag
  t->go_to(1);
  EXPECT_EQ(bytes("t.dbf")[130 + 3 * 18], '*');
  ASSERT_TRUE(t->pack());
  EXPECT_EQ(t->record_count(), 2u);
  EXPECT_EQ(t->get(1).text(), "A       ");
  t->go_to(2);
  EXPECT_EQ(t->get(1).text(), "C       ");
  EXPECT_EQ(bytes("t.dbf").size(), 130u + 2 * 18u + 1u);
  ASSERT_TRUE(t->zap());
  EXPECT_EQ(bytes("t.dbf").size(), 131u);
  EXPECT_EQ(t->record_count(), 0u);

  auto shared = open("t", true);
  EXPECT_FALSE(shared);  // still open exclusively
  t.reset();
  shared = open("t", true);
  EXPECT_FALSE(shared->pack());
  EXPECT_EQ(shared->error().kind, TableErrorKind::ExclusiveRequired);
}

TEST_F(TableTest, ReadOnlyOpenRefusesChanges) {
  ASSERT_TRUE(create("t", kStock));
  auto t = open("t", true, true);
  ASSERT_TRUE(t);
  EXPECT_FALSE(t->append());
  EXPECT_EQ(t->error().kind, TableErrorKind::WriteNotAllowed);
  EXPECT_EQ(t->error().specific_code(), 1025);
}

}  // namespace
}  // namespace intra

namespace intra {
namespace {

// What the index list of a table hears: the record as read before its
// first change, and every write with whether the record is new.
struct RecordingObserver : RecordObserver {
  std::vector<std::string> events;
  void before_first_change(Table& t) override { events.push_back("change " + t.get(1).text()); }
  bool record_written(Table&, std::uint32_t recno, bool appended) override {
    events.push_back("written " + std::to_string(recno) + (appended ? " new" : ""));
    return true;
  }
  bool table_rewritten(Table&) override {
    events.push_back("rewritten");
    return true;
  }
};

TEST_F(TableTest, ObserverHearsFirstChangesWritesAndRewrites) {
  ASSERT_TRUE(create("t", kStock));
  auto t = open("t");
  RecordingObserver seen;
  t->set_observer(&seen);
  ASSERT_TRUE(t->append());  // written blank at once, but not yet "gone cold"
  EXPECT_TRUE(seen.events.empty());
  t->put(1, Value("ONE"));
  t->put(0, Value("1"));
  ASSERT_TRUE(t->append());
  t->unlock_all();  // the second new record goes cold unchanged
  ASSERT_TRUE(t->lock_record(1));
  t->go_to(1);
  EXPECT_FALSE(t->put(2, Value("not a date")));  // refused before anything changes
  t->put(1, Value("UNO"));
  t->delete_record();
  t->go_to(2);
  EXPECT_EQ(seen.events, (std::vector<std::string>{"written 1 new", "written 2 new", "change ONE     ",
                                                    "written 1"}));
  t.reset();
  auto alone = open("t", false);
  alone->set_observer(&seen);
  seen.events.clear();
  ASSERT_TRUE(alone->pack());
  EXPECT_EQ(seen.events, (std::vector<std::string>{"rewritten"}));
}

}  // namespace
}  // namespace intra

namespace intra {
namespace {

TEST_F(TableTest, FieldNamesAreTrimmedAndCheckedAtCreation) {
  ASSERT_TRUE(create("t", {{"  mag     ", 'C', 1, 0}, {"NR", 'N', 3, 0}}));
  auto t = open("t", false);
  EXPECT_EQ(t->field_index("MAG"), 0);
  t.reset();
  for (const auto& bad : std::vector<std::vector<FieldSpec>>{
           {{"LONGNAME_ABC", 'C', 1, 0}}, {{"A", 'C', 1, 0}, {"a", 'N', 2, 0}}, {{"B-1", 'C', 1, 0}}, {{"  ", 'C', 1, 0}}}) {
    EXPECT_FALSE(create("bad", bad)) << bad[0].name;
    EXPECT_EQ(last_error.kind, TableErrorKind::CreateError);
  }
}

TEST_F(TableTest, ErrorOfTheLastOperationOnly) {
  ASSERT_TRUE(create("t", {{"NR", 'N', 3, 0}}));
  auto t = open("t", false);
  t->append();
  EXPECT_FALSE(t->put(0, Value(1234)));
  EXPECT_EQ(t->error().kind, TableErrorKind::DataWidth);
  EXPECT_TRUE(t->put(0, Value(12)));
  EXPECT_FALSE(t->error());
}

}  // namespace
}  // namespace intra
