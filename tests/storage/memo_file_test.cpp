#include "storage/memo_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <future>
#include <thread>
#include <vector>

#include "storage/file_system.h"
#include "temp_directory.h"

namespace intra {
namespace {

using testing::TempDirectory;

constexpr std::size_t kBlock = MemoFile::kBlockSize;
constexpr char kEnd = MemoFile::kTerminator;
constexpr const char* kName = "24\\05\\as.dbt";

// A text of `length` bytes that shows where every byte came from.
std::string text_of(std::size_t length, char first = 'a') {
  std::string text(length, ' ');
  for (std::size_t i = 0; i < length; ++i) text[i] = static_cast<char>(first + static_cast<char>(i % 26));
  return text;
}

std::string pointer_bytes(std::uint32_t value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
          static_cast<char>((value >> 16) & 0xFF), static_cast<char>(value >> 24)};
}

// What a stored text looks like on disk: the text, then 0x1A to the end of
// the block holding its last byte (a whole block of them after an exact fit).
std::string stored_form(const std::string& text) { return text + std::string(kBlock - text.size() % kBlock, kEnd); }

// Forwards to a real file; records lock calls, can fail chosen operations
// and runs a hook before each read or write, while the operation holds
// whatever lock it took.
class ObservedFile final : public File {
 public:
  struct LockCall {
    std::string what;  // "lock", "lock_wait", "unlock"
    std::uint64_t offset, length;
    bool exclusive;
    bool operator==(const LockCall&) const = default;
  };
  struct Observer {
    std::vector<LockCall> locks;
    int writes = 0;
    bool fail_lock = false;
    bool fail_read = false;
    bool short_write = false;
    std::function<void()> before_io;
    std::function<void()> before_lock_wait;
  };

  ObservedFile(std::unique_ptr<File> real, Observer& observer) : real_(std::move(real)), observer_(observer) {}

  long long read_at(std::uint64_t offset, void* buffer, std::size_t size) override {
    if (observer_.before_io) observer_.before_io();
    if (observer_.fail_read) return fail(EIO);
    return real_->read_at(offset, buffer, size);
  }
  long long write_at(std::uint64_t offset, const void* buffer, std::size_t size) override {
    if (observer_.before_io) observer_.before_io();
    ++observer_.writes;
    if (observer_.short_write) {
      error_ = ENOSPC;
      return real_->write_at(offset, buffer, size / 2);
    }
    return real_->write_at(offset, buffer, size);
  }
  std::optional<std::uint64_t> size() override { return real_->size(); }
  bool truncate(std::uint64_t size) override { return real_->truncate(size); }
  bool sync() override { return real_->sync(); }
  bool lock(std::uint64_t offset, std::uint64_t length, bool exclusive) override {
    observer_.locks.push_back({"lock", offset, length, exclusive});
    return real_->lock(offset, length, exclusive);
  }
  bool lock_wait(std::uint64_t offset, std::uint64_t length, bool exclusive) override {
    observer_.locks.push_back({"lock_wait", offset, length, exclusive});
    if (observer_.fail_lock) return fail(ENOLCK) == 0;
    if (observer_.before_lock_wait) observer_.before_lock_wait();
    return real_->lock_wait(offset, length, exclusive);
  }
  bool unlock(std::uint64_t offset, std::uint64_t length) override {
    observer_.locks.push_back({"unlock", offset, length, false});
    return real_->unlock(offset, length);
  }
  int os_error() const override { return error_ != 0 ? error_ : real_->os_error(); }

 private:
  long long fail(int code) {
    error_ = code;
    return -1;
  }
  std::unique_ptr<File> real_;
  Observer& observer_;
  int error_ = 0;
};

struct MemoFileTest : ::testing::Test {
  TempDirectory tmp;
  PosixFileSystem files{DosPathMapper{tmp.path(), DriveMap{tmp.path() / "drives", {}}}};
  TableError error;

  void SetUp() override {
    ASSERT_TRUE(files.make_directory("24\\05"));
    ASSERT_TRUE(MemoFile::create(files, kName, error)) << error.message();
  }

  std::unique_ptr<File> open_raw(OpenMode mode = OpenMode::ReadWrite) {
    auto file = files.open(kName, mode);
    EXPECT_TRUE(file) << "cannot open " << kName;
    return file;
  }
  MemoFile open_memo(bool shared = true, bool read_only = false) {
    return MemoFile(open_raw(read_only ? OpenMode::Read : OpenMode::ReadWrite), kName, shared, read_only);
  }
  MemoFile open_observed(ObservedFile::Observer& observer, bool shared = true) {
    return MemoFile(std::make_unique<ObservedFile>(open_raw(), observer), kName, shared, false);
  }

  std::string contents() {
    auto file = open_raw(OpenMode::Read);
    std::string bytes(static_cast<std::size_t>(file->size().value_or(0)), '\0');
    EXPECT_EQ(file->read_at(0, bytes.data(), bytes.size()), static_cast<long long>(bytes.size()));
    return bytes;
  }
  std::string block_bytes(std::uint32_t first, std::size_t count = 1) {
    return contents().substr(first * kBlock, count * kBlock);
  }
  void overwrite(const std::string& bytes, bool cut_after = false) {
    auto file = open_raw();
    ASSERT_EQ(file->write_at(0, bytes.data(), bytes.size()), static_cast<long long>(bytes.size()));
    if (cut_after) {
      ASSERT_TRUE(file->truncate(bytes.size()));
    }
  }

  std::uint32_t write(MemoFile& memo, std::uint32_t current, const std::string& text) {
    std::uint32_t block = 99999;
    EXPECT_TRUE(memo.write(current, text, block, error)) << error.message();
    return block;
  }
  std::string read(MemoFile& memo, std::uint32_t block) {
    std::string text = "stale";
    EXPECT_TRUE(memo.read(block, text, error)) << error.message();
    return text;
  }
};

TEST_F(MemoFileTest, NewFileIsOneHeaderBlockPointingAtBlockOne) {
  EXPECT_EQ(contents(), pointer_bytes(1) + std::string(kBlock - 4, '\0'));
  MemoFile memo = open_memo();
  EXPECT_EQ(memo.next_free_block(error), 1u);
  EXPECT_EQ(read(memo, 0), "");
}

TEST_F(MemoFileTest, CreationEmptiesAnExistingFile) {
  MemoFile memo = open_memo();
  write(memo, 0, text_of(2000));
  ASSERT_TRUE(MemoFile::create(files, kName, error));
  EXPECT_EQ(contents(), pointer_bytes(1) + std::string(kBlock - 4, '\0'));
}

TEST_F(MemoFileTest, CreationInAMissingDirectoryIsACreateError) {
  TableError failure;
  EXPECT_FALSE(MemoFile::create(files, "nowhere\\x.dbt", failure));
  EXPECT_EQ(failure.kind, TableErrorKind::CreateError);
  EXPECT_EQ(failure.file, "nowhere\\x.dbt");
  EXPECT_NE(failure.os_code, 0);
}

// The sequence a user makes editing one field: long text, shortened, then
// just too long to stay in place. Old blocks are never reused.
TEST_F(MemoFileTest, FieldEditedThreeTimesFollowsTheBlockRules) {
  MemoFile memo = open_memo();
  const std::string first = text_of(600), second = text_of(100, 'A'), third = text_of(511, 'B');

  EXPECT_EQ(write(memo, 0, first), 1u);
  EXPECT_EQ(block_bytes(1, 2), first + std::string(424, kEnd));
  EXPECT_EQ(memo.next_free_block(error), 3u);

  EXPECT_EQ(write(memo, 1, second), 1u);
  EXPECT_EQ(block_bytes(1), second + std::string(412, kEnd));
  EXPECT_EQ(block_bytes(2), first.substr(512) + std::string(424, kEnd)) << "the second block is left as it was";
  EXPECT_EQ(memo.next_free_block(error), 3u);
  EXPECT_EQ(contents().size(), 3 * kBlock);

  EXPECT_EQ(write(memo, 1, third), 3u);
  EXPECT_EQ(block_bytes(3), third + std::string(1, kEnd));
  EXPECT_EQ(memo.next_free_block(error), 4u);
  EXPECT_EQ(read(memo, 1), second);
  EXPECT_EQ(read(memo, 3), third);
}

// Each case starts from a file holding one 600-byte text at blocks 1-2
// (next free 3) and stores a text of `length` for a field holding `current`.
TEST_F(MemoFileTest, WhereATextGoesDependsOnItsLengthAndTheField) {
  struct Case {
    std::uint32_t current;
    std::size_t length;
    std::uint32_t block;
    std::uint32_t next_free;
  } cases[] = {
      {0, 1, 3, 4},        // an empty field always takes new blocks
      {0, 510, 3, 4},
      {1, 510, 1, 3},      // the longest text rewritten in place
      {1, 511, 3, 4},      // one more byte and it moves
      {1, 512, 3, 5},      // exact fit: a whole block of 0x1A follows
      {1, 1023, 3, 5},
      {1, 1024, 3, 6},
      {1, 0, 0, 3},        // empty text: no block, nothing written
      {0, 0, 0, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("current " + std::to_string(c.current) + ", length " + std::to_string(c.length));
    ASSERT_TRUE(MemoFile::create(files, kName, error));
    MemoFile memo = open_memo();
    ASSERT_EQ(write(memo, 0, text_of(600)), 1u);
    const std::string before = contents();
    const std::string text = text_of(c.length, 'A');

    EXPECT_EQ(write(memo, c.current, text), c.block);
    EXPECT_EQ(memo.next_free_block(error), c.next_free);
    EXPECT_EQ(contents().size(), c.next_free * kBlock);
    if (c.block == 0) {
      EXPECT_EQ(contents(), before);
      continue;
    }
    EXPECT_EQ(contents().substr(c.block * kBlock, stored_form(text).size()), stored_form(text));
    EXPECT_EQ(read(memo, c.block), text);
  }
}

TEST_F(MemoFileTest, TextIsStoredUpToItsFirstTerminator) {
  MemoFile memo = open_memo();
  const std::uint32_t block = write(memo, 0, std::string("abc") + kEnd + "def");
  EXPECT_EQ(block_bytes(block), "abc" + std::string(kBlock - 3, kEnd));
  EXPECT_EQ(read(memo, block), "abc");
  EXPECT_EQ(write(memo, 0, std::string(1, kEnd) + "xyz"), 0u) << "nothing before the terminator is the empty text";
}

TEST_F(MemoFileTest, ReadStopsAtTheFirstTerminatorOrTheEndOfTheFile) {
  const std::string header = pointer_bytes(4) + std::string(kBlock - 4, '\0');
  const std::string long_text = text_of(700);
  struct Case {
    const char* what;
    std::string file;
    std::uint32_t block;
    std::string text;
  } cases[] = {
      {"terminator inside the first piece", header + "hello" + kEnd + "world", 1, "hello"},
      {"text across pieces", header + long_text + kEnd, 1, long_text},
      {"file ends inside the text", header + long_text, 1, long_text},
      {"file ends exactly at a block boundary", header + text_of(512), 1, text_of(512)},
      {"block beyond the end", header, 40, ""},
      {"largest block number", header, 0xFFFFFFFFu, ""},
      {"block 0 is never read", std::string(kBlock, 'x'), 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    overwrite(c.file, true);
    MemoFile memo = open_memo();
    EXPECT_EQ(read(memo, c.block), c.text);
  }
}

TEST_F(MemoFileTest, TwoOpensSeeEachOthersWritesAndNeverShareBlocks) {
  MemoFile station_a = open_memo();
  MemoFile station_b = open_memo();
  const std::uint32_t from_a = write(station_a, 0, text_of(700));
  EXPECT_EQ(read(station_b, from_a), text_of(700));
  const std::uint32_t from_b = write(station_b, 0, "from b");
  EXPECT_EQ(from_b, 3u) << "b follows the pointer a moved";
  EXPECT_EQ(read(station_a, from_b), "from b");
  EXPECT_EQ(write(station_a, from_b, "b's field rewritten by a"), from_b);
  EXPECT_EQ(read(station_b, from_b), "b's field rewritten by a");
  EXPECT_EQ(read(station_b, from_a), text_of(700));
}

TEST_F(MemoFileTest, SharedUseLocksByteZeroForEachCallOnly) {
  using Call = ObservedFile::LockCall;
  const std::vector<Call> read_lock = {{"lock_wait", 0, 1, false}, {"unlock", 0, 1, false}};
  const std::vector<Call> write_lock = {{"lock_wait", 0, 1, true}, {"unlock", 0, 1, false}};
  struct Case {
    const char* what;
    std::function<void(MemoFile&)> operation;
    std::vector<Call> shared_calls;
  } cases[] = {
      {"read", [&](MemoFile& m) { read(m, 1); }, read_lock},
      {"next free block", [&](MemoFile& m) { m.next_free_block(error); }, read_lock},
      {"write to new blocks", [&](MemoFile& m) { write(m, 0, text_of(600)); }, write_lock},
      {"write in place", [&](MemoFile& m) { write(m, 1, "short"); }, write_lock},
      {"reset", [&](MemoFile& m) { EXPECT_TRUE(m.reset(error)); }, write_lock},
      {"empty text", [&](MemoFile& m) { write(m, 1, ""); }, {}},
      {"block 0", [&](MemoFile& m) { read(m, 0); }, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(MemoFile::create(files, kName, error));
    { MemoFile setup = open_memo(); write(setup, 0, "some text"); }
    for (const bool shared : {true, false}) {
      ObservedFile::Observer observer;
      MemoFile memo = open_observed(observer, shared);
      c.operation(memo);
      EXPECT_EQ(observer.locks, shared ? c.shared_calls : std::vector<Call>{}) << (shared ? "shared" : "exclusive");
    }
  }
}

// Probes through another open of the file while the memo file is between
// its lock and its unlock: a write excludes everybody, a read only writers.
TEST_F(MemoFileTest, LocksHeldDuringTheCallExcludeOtherStations) {
  auto probe = open_raw();
  struct Seen {
    bool shared_free = false, exclusive_free = false;
  };
  auto probe_now = [&](Seen& seen) {
    seen.shared_free = probe->lock(0, 1, false) && probe->unlock(0, 1);
    seen.exclusive_free = probe->lock(0, 1, true) && probe->unlock(0, 1);
  };
  ObservedFile::Observer observer;
  MemoFile memo = open_observed(observer);

  Seen during_write;
  observer.before_io = [&] { probe_now(during_write); };
  const std::uint32_t block = write(memo, 0, "text");
  EXPECT_FALSE(during_write.shared_free);
  EXPECT_FALSE(during_write.exclusive_free);

  Seen during_read;
  observer.before_io = [&] { probe_now(during_read); };
  read(memo, block);
  EXPECT_TRUE(during_read.shared_free);
  EXPECT_FALSE(during_read.exclusive_free);

  Seen after;
  probe_now(after);
  EXPECT_TRUE(after.exclusive_free) << "no lock outlives the call";
}

// Another station holds the write lock while it changes a text; a read
// started meanwhile waits for it and sees the finished text. The handshake
// tells this thread that the reader has reached its lock; correct locking
// makes the outcome certain, and the holder always lets go, so nothing hangs.
TEST_F(MemoFileTest, ReadWaitsForAWriterHoldingTheLock) {
  MemoFile writer = open_memo();
  const std::uint32_t block = write(writer, 0, "old text");
  auto other_station = open_raw();
  ASSERT_TRUE(other_station->lock(0, 1, true));

  ObservedFile::Observer observer;
  std::promise<void> reader_at_lock;
  observer.before_lock_wait = [&] { reader_at_lock.set_value(); };
  MemoFile reader = open_observed(observer);
  std::string seen;
  TableError reader_error;
  std::thread reading([&] { reader.read(block, seen, reader_error); });

  reader_at_lock.get_future().wait();
  const std::string finished = "new text" + std::string(kBlock - 8, kEnd);
  EXPECT_EQ(other_station->write_at(block * kBlock, finished.data(), finished.size()),
            static_cast<long long>(finished.size()));
  EXPECT_TRUE(other_station->unlock(0, 1));
  reading.join();
  EXPECT_FALSE(reader_error) << reader_error.message();
  EXPECT_EQ(seen, "new text");
}

TEST_F(MemoFileTest, FailuresAreReportedWithFileAndSystemCodeAndReleaseTheLock) {
  struct Case {
    const char* what;
    std::function<void(ObservedFile::Observer&)> fault;
    std::function<bool(MemoFile&, TableError&)> operation;
    TableErrorKind kind;
    int os_errno;
  } cases[] = {
      {"read lock", [](auto& o) { o.fail_lock = true; },
       [](MemoFile& m, TableError& e) { std::string t; return m.read(1, t, e); }, TableErrorKind::LockFailure, ENOLCK},
      {"write lock", [](auto& o) { o.fail_lock = true; },
       [](MemoFile& m, TableError& e) { std::uint32_t b; return m.write(0, "x", b, e); }, TableErrorKind::LockFailure,
       ENOLCK},
      {"read", [](auto& o) { o.fail_read = true; },
       [](MemoFile& m, TableError& e) { std::string t; return m.read(1, t, e); }, TableErrorKind::ReadError, EIO},
      {"pointer read", [](auto& o) { o.fail_read = true; },
       [](MemoFile& m, TableError& e) { std::uint32_t b; return m.write(0, "x", b, e); }, TableErrorKind::ReadError,
       EIO},
      {"short text write", [](auto& o) { o.short_write = true; },
       [](MemoFile& m, TableError& e) { std::uint32_t b; return m.write(1, "x", b, e); }, TableErrorKind::WriteError,
       ENOSPC},
      {"short header write", [](auto& o) { o.short_write = true; },
       [](MemoFile& m, TableError& e) { return m.reset(e); }, TableErrorKind::WriteError, ENOSPC},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(MemoFile::create(files, kName, error));
    { MemoFile setup = open_memo(); write(setup, 0, "text"); }
    ObservedFile::Observer observer;
    c.fault(observer);
    MemoFile memo = open_observed(observer);
    TableError failure;
    EXPECT_FALSE(c.operation(memo, failure));
    EXPECT_EQ(failure.kind, c.kind);
    EXPECT_EQ(failure.file, kName);
    EXPECT_EQ(failure.os_code, dos_error_code(c.os_errno));
    EXPECT_FALSE(observer.locks.empty());
    EXPECT_EQ(observer.locks.size(), observer.fail_lock ? 1u : 2u);
    if (observer.fail_lock) {
      EXPECT_EQ(observer.writes, 0) << "nothing written without the lock";
    } else {
      EXPECT_EQ(observer.locks.back().what, "unlock") << "the lock is released after the failure";
    }
  }
}

TEST_F(MemoFileTest, FailedWriteLeavesTheFieldsBlock) {
  ObservedFile::Observer observer;
  observer.short_write = true;
  MemoFile memo = open_observed(observer);
  std::uint32_t block = 0;
  EXPECT_FALSE(memo.write(7, text_of(600), block, error));
  EXPECT_EQ(block, 7u);
}

TEST_F(MemoFileTest, ReadOnlyMemoRefusesEveryChangeAndStillReads) {
  { MemoFile setup = open_memo(); write(setup, 0, "kept"); }
  const std::string before = contents();
  MemoFile memo = open_memo(true, true);
  std::uint32_t block = 0;
  TableError failure;
  EXPECT_FALSE(memo.write(1, "new", block, failure));
  EXPECT_EQ(failure.kind, TableErrorKind::WriteNotAllowed);
  EXPECT_EQ(block, 1u) << "the field keeps its block";
  failure = {};
  EXPECT_FALSE(memo.reset(failure));
  EXPECT_EQ(failure.kind, TableErrorKind::WriteNotAllowed);
  EXPECT_EQ(contents(), before);
  EXPECT_EQ(read(memo, 1), "kept");
}

TEST_F(MemoFileTest, ResetMakesTheOpenFileANewMemoFile) {
  MemoFile memo = open_memo();
  write(memo, 0, text_of(3000));
  auto other_station = open_raw();
  ASSERT_TRUE(memo.reset(error)) << error.message();
  EXPECT_EQ(contents(), pointer_bytes(1) + std::string(kBlock - 4, '\0'));
  EXPECT_EQ(write(memo, 0, "after zap"), 1u);
  EXPECT_EQ(other_station->size().value_or(0), 2 * kBlock) << "the file was cut in place, not replaced";
  EXPECT_TRUE(memo.sync(error));
}

// Damaged headers: the new text must land past every stored byte and the
// file must read back consistently afterwards.
TEST_F(MemoFileTest, DamagedPointerNeverOverwritesStoredBytes) {
  const std::string zeros(kBlock - 4, '\0');
  const std::string old_text = text_of(700);
  struct Case {
    const char* what;
    std::string file;
    std::uint32_t block;
    std::uint32_t next_free;
  } cases[] = {
      {"pointer 0 in a new file", pointer_bytes(0) + zeros, 1, 2},
      {"pointer 0 with texts stored", pointer_bytes(0) + zeros + stored_form(old_text), 3, 4},
      {"pointer into stored texts", pointer_bytes(2) + zeros + stored_form(old_text), 3, 4},
      {"orphaned text past the pointer", pointer_bytes(1) + zeros + old_text, 3, 4},
      {"empty file", "", 1, 2},
      {"header cut short", std::string("\x05\x00", 2), 1, 2},
      {"pointer past the end is followed", pointer_bytes(6) + zeros, 6, 7},
      {"pointer far past the end is damage", pointer_bytes(0x41414141) + zeros, 1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    overwrite(c.file, true);
    MemoFile memo = open_memo();
    EXPECT_EQ(write(memo, 0, "new"), c.block);
    EXPECT_EQ(memo.next_free_block(error), c.next_free);
    const std::string after = contents();
    if (c.file.size() > 4) {
      EXPECT_EQ(after.substr(4, c.file.size() - 4), c.file.substr(4)) << "old bytes other than the pointer kept";
    }
    EXPECT_EQ(read(memo, c.block), "new");
  }
}

TEST_F(MemoFileTest, DamagedBlockNumbersAreHandledWithoutGrowingTheFile) {
  MemoFile memo = open_memo();
  EXPECT_EQ(write(memo, 1000, "short"), 1u) << "a field pointing past the end gets a new block";
  EXPECT_EQ(contents().size(), 2 * kBlock);

  // A pointer at the very end of the block numbers is damage: the text goes
  // to the end of the file and nothing stored is touched.
  overwrite(pointer_bytes(0xFFFFFFFFu));
  const std::string before = contents();
  std::uint32_t block = 0;
  TableError failure;
  EXPECT_TRUE(memo.write(1, text_of(600), block, failure));
  EXPECT_EQ(block, 2u);
  EXPECT_EQ(contents().substr(4, before.size() - 4), before.substr(4));
  EXPECT_EQ(read(memo, 2), text_of(600));
}

TEST_F(MemoFileTest, HeaderTooShortForAPointerIsCorruption) {
  overwrite(std::string("\x01\x00", 2), true);
  MemoFile memo = open_memo();
  TableError failure;
  EXPECT_EQ(memo.next_free_block(failure), 0u);
  EXPECT_EQ(failure.kind, TableErrorKind::Corruption);
  EXPECT_EQ(read(memo, 1), "");
}

}  // namespace
}  // namespace intra
