// Shared use: the index locks, the version protocol between two opens of
// one file, and two processes updating one index at the same time.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "ntx_test_support.h"

namespace intra::testing {
namespace {

using NtxShared = NtxTest;

std::string key_for(std::uint32_t recno) { return padded("N" + std::to_string(recno * 7919 % 1000), 20); }

TEST_F(NtxShared, AnotherOpensUpdateReachesThisOpenThroughTheVersion) {
  std::vector<KeyEntry> entries;
  for (std::uint32_t r = 1; r <= 500; ++r) entries.push_back({padded("M" + std::to_string(1000 + r), 10), r});
  build("v", key_definition(10), entries);
  auto a = open("v", true);
  auto b = open("v", true);
  ASSERT_TRUE(a && b) << error.message();

  bool found = false;
  ASSERT_TRUE(b->seek("M1250", found));
  EXPECT_TRUE(found);
  EXPECT_TRUE(b->path_valid());
  const std::size_t cached = b->cached_pages();
  EXPECT_GE(cached, 2u);

  const unsigned version = u16_at(bytes("v.ntx"), 2);
  bool missing = false;
  ASSERT_TRUE(a->update(std::nullopt, padded("M1250A", 10), 900, missing));
  ASSERT_TRUE(a->update(std::nullopt, padded("A", 10), 901, missing));
  EXPECT_EQ(u16_at(bytes("v.ntx"), 2), version + 2);  // every shared update announces itself

  // B's next step reads the new version, drops its pages, finds its key
  // again and steps onto A's key.
  ASSERT_TRUE(b->next());
  EXPECT_EQ(b->current_key(), padded("M1250A", 10));
  EXPECT_EQ(b->current_recno(), 900u);
  ASSERT_TRUE(b->first());
  EXPECT_EQ(b->current_recno(), 901u);
  EXPECT_TRUE(b->path_valid());

  // B's own update leaves A's cached pages stale in turn.
  ASSERT_TRUE(b->update(padded("A", 10), std::nullopt, 901, missing));
  ASSERT_TRUE(a->first());
  EXPECT_EQ(a->current_key(), padded("M1001", 10));
  EXPECT_TRUE(a->check().empty());
  EXPECT_EQ(entries_of(*a), entries_of(*b));
}

TEST_F(NtxShared, ExclusiveOpenDoesNotWriteTheHeaderForPageChangesOnly) {
  build("x", key_definition(10), {{padded("A", 10), 1}});
  auto index = open("x");
  bool missing = false;
  ASSERT_TRUE(index->update(std::nullopt, padded("B", 10), 2, missing));
  EXPECT_EQ(u16_at(bytes("x.ntx"), 2), 1u);
  const std::string b = bytes("x.ntx");  // the page is on file at once
  EXPECT_EQ(u16_at(b, 1024), 2u);
  EXPECT_EQ(b.substr(1024 + u16_at(b, 1024 + 2 + 2) + 8, 10), padded("B", 10));
}

struct LockCase {
  const char* name;
  bool extended;
  const char* read_prefix;  // what the read lock looks like
  const char* write_lock;
};

class NtxLockRegions : public NtxTest, public ::testing::WithParamInterface<LockCase> {};

TEST_P(NtxLockRegions, ReadsAndUpdatesHoldTheirLockForOneCall) {
  const LockCase c = GetParam();
  NtxDefinition d = key_definition(10);
  d.extended_locks = c.extended;
  build("l", d, {{padded("A", 10), 1}});
  FaultyFileSystem faulty(files);
  auto index = NtxIndex::open(faulty, "l", true, false, error);
  ASSERT_TRUE(index) << error.message();
  EXPECT_TRUE(faulty.switches.lock_log.empty());

  bool found = false;
  ASSERT_TRUE(index->seek("A", found));
  ASSERT_EQ(faulty.switches.lock_log.size(), 2u);
  const std::string read_lock = faulty.switches.lock_log[0];
  EXPECT_EQ(read_lock.rfind(c.read_prefix, 0), 0u) << read_lock;
  EXPECT_EQ(faulty.switches.lock_log[1], "U" + read_lock.substr(1));
  if (c.extended) {
    const std::uint64_t offset = std::stoull(read_lock.substr(2, read_lock.find('+') - 2));
    EXPECT_GE(offset, 4'294'901'760ULL);
    EXPECT_LE(offset, 4'294'901'759ULL + 65'536ULL);
    EXPECT_EQ(read_lock.substr(read_lock.find('+')), "+1");
  }

  faulty.switches.lock_log.clear();
  bool missing = false;
  ASSERT_TRUE(index->update(std::nullopt, padded("B", 10), 2, missing));
  EXPECT_EQ(faulty.switches.lock_log, (std::vector<std::string>{c.write_lock, "U" + std::string(c.write_lock).substr(1)}));

  faulty.switches.fail_locks = true;
  EXPECT_FALSE(index->first());
  EXPECT_EQ(index->error().kind, TableErrorKind::LockFailure);
  EXPECT_FALSE(index->update(std::nullopt, padded("C", 10), 3, missing));
  EXPECT_EQ(index->error().kind, TableErrorKind::LockFailure);
}

INSTANTIATE_TEST_SUITE_P(Layouts, NtxLockRegions,
                         ::testing::Values(LockCase{"Standard", false, "S 1000000000+1", "X 1000000000+1"},
                                           LockCase{"Extended", true, "S 42949", "X 4294901759+65537"}),
                         [](const ::testing::TestParamInfo<LockCase>& param) { return std::string(param.param.name); });

TEST_F(NtxShared, ExclusiveUseTakesNoLocks) {
  build("n", key_definition(10), {{padded("A", 10), 1}});
  FaultyFileSystem faulty(files);
  auto index = NtxIndex::open(faulty, "n", false, false, error);
  bool found = false;
  bool missing = false;
  ASSERT_TRUE(index->seek("A", found));
  ASSERT_TRUE(index->update(std::nullopt, padded("B", 10), 2, missing));
  EXPECT_TRUE(faulty.switches.lock_log.empty());
}

TEST_F(NtxShared, OpensRespectEachOthersShareModes) {
  build("s", key_definition(10), {});
  auto shared = open("s", true);
  ASSERT_TRUE(shared);
  EXPECT_FALSE(open("s", false));
  EXPECT_EQ(error.kind, TableErrorKind::IndexOpenError);
  EXPECT_TRUE(error.sharing_conflict());
  EXPECT_FALSE(NtxIndex::create(files, "s", key_definition(10), source_of({}), true, error));
  EXPECT_EQ(error.kind, TableErrorKind::IndexCreateError);
  EXPECT_TRUE(error.sharing_conflict());
  EXPECT_TRUE(files.exists("s.ntx"));  // the open index was not touched
  EXPECT_TRUE(open("s", true));
  EXPECT_FALSE(open("missing"));
  EXPECT_EQ(error.kind, TableErrorKind::IndexOpenError);
  EXPECT_EQ(error.os_code, 2);
}

TEST_F(NtxShared, CreatedSharedIndexIsOpenToOthersAtOnce) {
  auto created = NtxIndex::create(files, "c", key_definition(10), source_of({{"A", 1}}), true, error);
  ASSERT_TRUE(created) << error.message();
  auto other = open("c", true);
  ASSERT_TRUE(other) << error.message();
  EXPECT_TRUE(other->first());
}

// Two processes insert into one index at the same time; the locks keep
// the tree whole and every key arrives.
TEST_F(NtxShared, TwoProcessesUpdatingOneIndexKeepItConsistent) {
  build("p", key_definition(20), {});  // closed again before the fork
  constexpr std::uint32_t kEach = 1500;
  // Both processes open the index, then start together.
  int ready[2];
  int go[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(go), 0);
  auto insert_run = [&](std::uint32_t first_recno, bool is_child) {
    auto index = NtxIndex::open(files, "p", true, false, error);
    if (!index) return false;
    char token = 'x';
    if (is_child) {
      if (write(ready[1], &token, 1) != 1 || read(go[0], &token, 1) != 1) return false;
    } else {
      if (read(ready[0], &token, 1) != 1 || write(go[1], &token, 1) != 1) return false;
    }
    bool missing = false;
    for (std::uint32_t i = 0; i < kEach; ++i) {
      const std::uint32_t recno = first_recno + 2 * i;
      if (!index->update(std::nullopt, key_for(recno), recno, missing)) return false;
      bool found = false;
      if (!index->seek(key_for(recno), found) || !found) return false;
      if (i % 3 == 0 && !index->update(key_for(recno), key_for(recno) + "", recno, missing)) return false;
      if (missing) return false;
    }
    return true;
  };
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(insert_run(1, true) ? 0 : 1);
  const bool parent_ok = insert_run(2, false);
  for (int fd : {ready[0], ready[1], go[0], go[1]}) close(fd);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(parent_ok) << error.message();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);

  auto index = open("p");
  ASSERT_TRUE(index) << error.message();
  const auto problems = index->check();
  EXPECT_TRUE(problems.empty()) << problems.front();
  std::set<std::uint32_t> recnos;
  for (const auto& [key, recno] : entries_of(*index)) {
    EXPECT_EQ(key, key_for(recno));
    recnos.insert(recno);
  }
  EXPECT_EQ(recnos.size(), 2 * kEach);
  EXPECT_EQ(*recnos.rbegin(), 2 * kEach);
}

}  // namespace
}  // namespace intra::testing
