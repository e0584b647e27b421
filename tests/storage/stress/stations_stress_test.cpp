// Four stations, each a process of its own, append to one table in shared
// use while it has three indexes open: a character key, a numeric key with
// negative values and a date+text key. Every append's keys enter the
// indexes under their write locks when the record goes cold, while the
// other stations insert into the same trees; every third record is changed
// once more, so keys are also deleted and moved meanwhile, and a fifth
// station reads the trees throughout. Afterwards every record must
// be in the table once, reachable through every index by its key, and the
// indexes must be consistent with the table and with themselves.
//
// INTRASTAT_STRESS_APPENDS sets the appends per station (5000 by default).
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <thread>

#include "storage/dbtool/dbtool.h"
#include "storage/dbtool/dbtool_fixture.h"
#include "storage/index_list.h"

namespace intra {
namespace {

constexpr int kStations = 4;
constexpr std::uint32_t kSeedRecords = 250;  // there before the stations start
constexpr int kAppendTries = 100;
constexpr auto kDeadline = std::chrono::seconds(240);  // below the CTest timeout: a hang fails, it does not stall

const std::vector<FieldSpec> kMovements = {{"INDEKS", 'C', 10, 0}, {"ILOSC", 'N', 8, 2}, {"DATA", 'D', 8, 0}};
const std::vector<std::pair<const char*, const char*>> kIndexes = {
    {"ruch_ind", "INDEKS"}, {"ruch_il", "ILOSC"}, {"ruch_dt", "DTOS(DATA)+INDEKS"}};

std::uint32_t appends_per_station() {
  const char* text = std::getenv("INTRASTAT_STRESS_APPENDS");
  const long n = text ? std::strtol(text, nullptr, 10) : 0;
  return n > 0 ? static_cast<std::uint32_t>(n) : 5000;
}

// The values of append `i` of station `station` (station 0: the seed
// records): an INDEKS unique per record, numbers spread over -1000.00 ..
// 999.99 with repeats, dates over three years and every 50th one empty.
struct Movement {
  std::string indeks;
  double ilosc;
  Date data;

  static Movement of(int station, std::uint32_t i) {
    char indeks[16];
    std::snprintf(indeks, sizeof indeks, "P%d%08u", station, i);
    const auto s = static_cast<std::uint32_t>(station);
    const long spread = static_cast<long>((i * 7919u + s * 104729u) % 200000u);
    const int day = static_cast<int>((i * 37u + s * 11u) % 1000u);
    const Date data = i % 50 == 0 ? Date() : Date::from_ymd(2024, 1, 1).plus_days(day);
    return {indeks, static_cast<double>(spread - 100000) / 100.0, data};
  }
  // Every third record is changed again after it went cold: its number
  // changes sign and its date moves, so two of its keys leave their place
  // in the trees and enter another.
  static bool changed_later(std::uint32_t i) { return i % 3 == 0; }
  Movement changed() const {
    return {indeks, -ilosc, data.empty() ? Date::from_ymd(2030, 1, 1) : data.plus_days(-400)};
  }
  static Movement final_of(int station, std::uint32_t i) {
    const Movement first = of(station, i);
    return station != 0 && changed_later(i) ? first.changed() : first;
  }
};

// Reads INDEKS "P<station><i>" back into its station and counter.
bool parse_indeks(const std::string& indeks, int& station, std::uint32_t& i) {
  if (indeks.size() != 10 || indeks[0] != 'P' || indeks[1] < '0' || indeks[1] > '9') return false;
  station = indeks[1] - '0';
  i = static_cast<std::uint32_t>(std::strtoul(indeks.c_str() + 2, nullptr, 10));
  return true;
}

bool put_movement(Table& table, const Movement& m) {
  return table.put(0, Value(m.indeks)) && table.put(1, Value(m.ilosc)) && table.put(2, Value(m.data));
}

// A table open with its three indexes, as a work area holds them.
struct Station {
  std::unique_ptr<Table> table;
  std::unique_ptr<IndexList> indexes;
  std::string problem;

  Station(FileSystem& files, bool shared) {
    TableError error;
    table = Table::open(files, "ruch", OpenOptions{shared, false}, error);
    if (!table) {
      problem = error.message();
      return;
    }
    indexes = std::make_unique<IndexList>(*table, "ruch");
  }
  bool add_indexes() {
    for (const auto& [name, key] : kIndexes)
      if (!indexes->add(name)) return fail(indexes->error().message());
    return true;
  }
  bool close() {
    if (!indexes->close_all()) return fail(indexes->error().message());
    if (!table->close()) return fail(table->error().message());
    return true;
  }
  bool fail(std::string why) {
    problem = std::move(why);
    return false;
  }
};

// Locking the record again writes it (its keys enter the indexes); the
// change then deletes and inserts keys when the unlock writes it once more.
bool change_again(Table& table, const Movement& m) {
  const std::uint32_t recno = table.recno();
  return table.lock_record(recno) && table.go_to(recno) && table.put(1, Value(m.ilosc)) &&
         table.put(2, Value(m.data)) && table.unlock_all();
}

// One station's run in its own process: `appends` records, each appended
// with a few tries (another station may hold the new record's lock for a
// moment) and filled; it goes cold, and its keys enter the indexes, at the
// next append, at the lock before its change or at the final unlock.
int station_run(FileSystem& files, int station, std::uint32_t appends, int go_fd) {
  Station s(files, true);
  if (!s.table || !s.add_indexes()) {
    std::fprintf(stderr, "station %d: %s\n", station, s.problem.c_str());
    return 1;
  }
  // An old key not found when its record goes cold means an index lost it.
  std::uint32_t lost_keys = 0;
  s.indexes->set_message_sink([&](std::string_view) { ++lost_keys; });
  char token = 0;
  if (read(go_fd, &token, 1) != 1) return 1;
  std::uint32_t retries = 0;
  for (std::uint32_t i = 1; i <= appends; ++i) {
    int tries = 0;
    while (!s.table->append()) {
      if (++tries == kAppendTries) {
        std::fprintf(stderr, "station %d append %u: %s\n", station, i, s.table->error().message().c_str());
        return 1;
      }
      ++retries;
      sched_yield();
    }
    const Movement m = Movement::of(station, i);
    if (!put_movement(*s.table, m)) {
      std::fprintf(stderr, "station %d record %u: %s\n", station, s.table->recno(), s.table->error().message().c_str());
      return 1;
    }
    if (Movement::changed_later(i) && !change_again(*s.table, m.changed())) {
      std::fprintf(stderr, "station %d change of %u: %s\n", station, s.table->recno(), s.table->error().message().c_str());
      return 1;
    }
  }
  if (!s.table->unlock_all()) {
    std::fprintf(stderr, "station %d unlock: %s\n", station, s.table->error().message().c_str());
    return 1;
  }
  if (!s.close()) {
    std::fprintf(stderr, "station %d close: %s\n", station, s.problem.c_str());
    return 1;
  }
  if (lost_keys > 0) {
    std::fprintf(stderr, "station %d: %u old keys were not in their index\n", station, lost_keys);
    return 1;
  }
  if (retries > 0) std::fprintf(stderr, "station %d: %u appends retried\n", station, retries);
  return 0;
}

struct StressStations : ::testing::Test, testing::DbtoolFixture {
  // The table with the seed records and its three indexes built over them.
  void SetUp() override {
    ASSERT_TRUE(Table::create(files, "ruch", kMovements, error)) << error.message();
    Station alone(files, false);
    ASSERT_TRUE(alone.table) << alone.problem;
    for (std::uint32_t i = 1; i <= kSeedRecords; ++i) {
      ASSERT_TRUE(alone.table->append());
      ASSERT_TRUE(put_movement(*alone.table, Movement::of(0, i)));
    }
    for (const auto& [name, key] : kIndexes)
      ASSERT_TRUE(alone.indexes->create(name, key)) << alone.indexes->error().message();
    ASSERT_TRUE(alone.close()) << alone.problem;
  }

  // Waits for every child, killing those still running at the deadline,
  // and meanwhile runs `between` again and again. Returns how many children
  // ended with exit code 0.
  int wait_for(std::vector<pid_t>& children, const std::function<void()>& between) {
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    int succeeded = 0;
    while (!children.empty()) {
      int status = 0;
      const pid_t done = waitpid(-1, &status, WNOHANG);
      if (done > 0) {
        std::erase(children, done);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0) ++succeeded;
        continue;
      }
      if (std::chrono::steady_clock::now() > deadline) {
        for (pid_t child : children) kill(child, SIGKILL);
        for (pid_t child : children) waitpid(child, &status, 0);
        ADD_FAILURE() << children.size() << " stations still running at the deadline";
        children.clear();
        break;
      }
      // A reader that never pauses keeps the writers waiting: the index
      // locks grant a shared lock while others wait for the exclusive one.
      // So it rests at least as long as it read.
      const auto read_from = std::chrono::steady_clock::now();
      between();
      std::this_thread::sleep_for(std::max<std::chrono::steady_clock::duration>(
          std::chrono::milliseconds(5), std::chrono::steady_clock::now() - read_from));
    }
    return succeeded;
  }

  TableError error;
};

TEST_F(StressStations, FourProcessesAppendToOneTableWithThreeIndexes) {
  const std::uint32_t appends = appends_per_station();
  int go[2];
  ASSERT_EQ(pipe(go), 0);
  std::vector<pid_t> children;
  for (int station = 1; station <= kStations; ++station) {
    const pid_t child = fork();
    if (child == 0) {
      close(go[1]);
      _exit(station_run(files, station, appends, go[0]));
    }
    if (child < 0) break;
    children.push_back(child);
  }
  close(go[0]);
  // A fifth station reads while the others write: under its read lock
  // every tree is whole and in order, however far the updates have got.
  Station watcher(files, true);
  const bool ready = children.size() == kStations && watcher.table && watcher.add_indexes();
  // Every station has opened its table and indexes; all start together. A
  // station that finds the pipe closed without its token gives up.
  const auto start = std::chrono::steady_clock::now();
  const std::string tokens(kStations, 'g');
  const bool started = ready && write(go[1], tokens.data(), tokens.size()) == static_cast<ssize_t>(tokens.size());
  close(go[1]);
  if (!started) {
    wait_for(children, [] {});
    FAIL() << "the stations did not start: " << children.size() << " forked; " << watcher.problem;
  }
  std::uint32_t passes = 0;
  std::vector<std::string> seen_problems;
  const int succeeded = wait_for(children, [&] {
    for (std::size_t which = 0; which < kIndexes.size() && seen_problems.size() < 10; ++which) {
      NtxIndex& index = watcher.indexes->index(which);
      for (const std::string& problem : index.check()) seen_problems.push_back(problem);
      std::string previous;
      const bool walked = index.for_each([&](const KeyEntry& entry) {
        if (entry.key < previous) seen_problems.push_back(index.file_name() + ": walk out of order at " + entry.key);
        previous = entry.key;
        return true;
      });
      if (!walked) seen_problems.push_back(index.error().message());
    }
    ++passes;
  });
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const std::uint32_t total = kStations * appends;
  std::printf("%d stations x %u appends with 3 indexes: %.2f s, %.0f appends/s\n", kStations, appends, seconds,
              total / seconds);
  std::printf("reading station: %u passes of check and walk over the three indexes\n", passes);
  ASSERT_EQ(succeeded, kStations);
  for (const std::string& problem : seen_problems) ADD_FAILURE() << "while the stations wrote: " << problem;
  ASSERT_TRUE(watcher.close()) << watcher.problem;

  Station reader(files, true);
  ASSERT_TRUE(reader.table && reader.add_indexes()) << reader.problem;
  Table& table = *reader.table;
  ASSERT_EQ(table.record_count(), kSeedRecords + total);

  // Every station's records are there once each, with their values, and
  // the stations really ran side by side: their records interleave.
  std::vector<std::vector<bool>> seen(kStations + 1, std::vector<bool>(appends + 1, false));
  int previous_station = -1;
  std::uint32_t station_changes = 0;
  for (std::uint32_t recno = 1; recno <= table.record_count(); ++recno) {
    ASSERT_TRUE(table.go_to(recno));
    int station = 0;
    std::uint32_t i = 0;
    ASSERT_TRUE(parse_indeks(table.get(0).text(), station, i)) << "record " << recno << ": " << table.get(0).text();
    if (station == 0) continue;
    ASSERT_TRUE(station <= kStations && i >= 1 && i <= appends && !seen[station][i]) << "record " << recno;
    seen[station][i] = true;
    const Movement m = Movement::final_of(station, i);
    ASSERT_EQ(table.get(1).number(), m.ilosc) << "record " << recno;
    ASSERT_EQ(table.get(2).date(), m.data) << "record " << recno;
    station_changes += previous_station != -1 && previous_station != station;
    previous_station = station;
  }
  EXPECT_GT(station_changes, static_cast<std::uint32_t>(kStations - 1));
  std::printf("station changes between neighbouring records: %u\n", station_changes);

  // Every record is found through every index by its own key and number.
  for (std::size_t which = 0; which < kIndexes.size(); ++which) {
    NtxIndex& index = reader.indexes->index(which);
    std::uint32_t entries = 0;
    ASSERT_TRUE(index.for_each([&](const KeyEntry&) {
      ++entries;
      return true;
    })) << index.error().message();
    EXPECT_EQ(entries, table.record_count()) << kIndexes[which].first;
    for (std::uint32_t recno = 1; recno <= table.record_count(); ++recno) {
      ASSERT_TRUE(table.go_to(recno));
      const std::string key = reader.indexes->current_key(which);
      ASSERT_TRUE(index.find(key, recno)) << kIndexes[which].first << " record " << recno << " key " << key << " "
                                          << index.error().message();
    }
  }
  ASSERT_TRUE(reader.close()) << reader.problem;

  std::ostringstream out, err;
  EXPECT_EQ(run_dbtool({"check", "ruch", "ruch_ind", "ruch_il", "ruch_dt"}, out, err), 0) << out.str() << err.str();
  EXPECT_EQ(out.str(), "ruch_ind.ntx: consistent\nruch_il.ntx: consistent\nruch_dt.ntx: consistent\n");
}

}  // namespace
}  // namespace intra
