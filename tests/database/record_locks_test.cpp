// REC_LOCK, FIL_LOCK and ADD_REC: single tries of the engine turned into
// waits of so many seconds while another station holds the lock.
#include "database/record_locks.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "database_fixture.h"

namespace intra {
namespace {

struct RecordLocksTest : ::testing::Test, testing::DatabaseFixture {
  std::unique_ptr<Table> other;

  void SetUp() override {
    make_table("dowod");
    auto writer = other_station("dowod", false);
    ASSERT_TRUE(writer);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(writer->append());
    writer.reset();
    DBSELECTAREA(4);
    ASSERT_TRUE(DBUSEAREA("dowod", "dowod", true));
    ASSERT_TRUE(DBGOTO(2));
    other = other_station("dowod", true);
    ASSERT_TRUE(other);
  }
  // The other station lets go of its locks at `when` seconds.
  void released_at(double when) {
    clock.at(after(when), [this] { other->unlock_all(); });
  }
};

// Attempts happen at 0, 0.5, 1, ... seconds. A lock freed just before an
// attempt is granted by it; one freed just after the last attempt is not:
// so n seconds are exactly 1 + 2n attempts.
struct Case {
  double seconds;
  double released;  // when the other station lets go; < 0: never
  bool granted;
  double elapsed;  // virtual seconds the call took
};
const Case kCases[] = {
    {0.5, -1, false, 0.5},    // 2 attempts
    {0.5, 0.25, true, 0.5},   // the 2nd attempt gets it
    {0.5, 0.75, false, 0.5},  // there is no 3rd
    {10, -1, false, 10},      // 21 attempts
    {10, 9.75, true, 10},     // the 21st gets it
    {10, 10.25, false, 10},   // there is no 22nd
    {0.3, -1, false, 0.5},    // what is left of the time still earns a whole wait
    {-1, -1, false, 0},       // a single attempt
    {0, 42.2, true, 42.5},    // without limit: until freed
};

using Routine = bool (*)(double);

void run_cases(RecordLocksTest& t, Routine routine, const std::function<bool(Table&)>& hold) {
  for (const Case& c : kCases) {
    ASSERT_TRUE(hold(*t.other)) << c.seconds;
    if (c.released >= 0) t.released_at(t.seconds() + c.released);
    const double start = t.seconds();
    EXPECT_EQ(routine(c.seconds), c.granted) << c.seconds << " s, freed at " << c.released;
    EXPECT_DOUBLE_EQ(t.seconds() - start, c.elapsed) << c.seconds << " s, freed at " << c.released;
    DBUNLOCK();
    t.clock.sleep(std::chrono::seconds(1));  // a release due after the call happens before the next case
    t.other->unlock_all();
  }
  EXPECT_TRUE(t.handler.errors.empty());
}

TEST_F(RecordLocksTest, RecLockTriesOncePlusTwicePerSecond) {
  run_cases(*this, &REC_LOCK, [](Table& station) { return station.go_to(2) && station.lock_record(2); });
}

TEST_F(RecordLocksTest, FilLockTriesOncePlusTwicePerSecond) {
  run_cases(*this, &FIL_LOCK, [](Table& station) { return station.go_to(3) && station.lock_record(3); });
}

TEST_F(RecordLocksTest, AddRecWaitsForTheAppendLockAndLeavesTheNewRecordLocked) {
  run_cases(*this, &ADD_REC, [](Table& station) { return station.lock_file(); });
  // Every granted case appended one record.
  EXPECT_EQ(LASTREC(), 3u + 3);
  ASSERT_TRUE(ADD_REC(1));
  EXPECT_EQ(RECNO(), 7u);
  ASSERT_TRUE(other->go_to(7));
  EXPECT_FALSE(other->lock_record(7));  // ours until unlocked
}

TEST_F(RecordLocksTest, AKeyEndsAWaitEarly) {
  ASSERT_TRUE(other->go_to(2) && other->lock_record(2));
  terminal.type({'x'});
  EXPECT_FALSE(REC_LOCK(1));
  EXPECT_DOUBLE_EQ(seconds(), 0.5);  // the first of the two waits ended at once
  EXPECT_EQ(terminal.keys_left(), 0u);
}

TEST_F(RecordLocksTest, AnAreaWithoutATableEndsAtOnceEvenWithoutLimit) {
  DBSELECTAREA(9);
  for (Routine routine : {&REC_LOCK, &FIL_LOCK, &ADD_REC}) {
    handler.errors.clear();
    EXPECT_FALSE(routine(0));
    EXPECT_EQ(seconds(), 0);
    ASSERT_EQ(handler.errors.size(), 1u);
    EXPECT_EQ(handler.errors[0].summary(), "BASE/2001  Workarea not in use: 9");
  }
}

}  // namespace
}  // namespace intra
