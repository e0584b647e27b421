// Stations as processes of their own on one database directory: ten
// started at the same moment beside a running station all take different
// numbers and each frees its own; a station killed while registered leaves
// its mark for the next lone start.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <set>
#include <thread>
#include <vector>

#include "main/recording_error_handler.h"
#include "screen/console.h"
#include "screen/virtual_terminal.h"
#include "session/network_session.h"
#include "session_fixture.h"
#include "storage/work_areas.h"

namespace intra {
namespace {

using testing::SessionFixture;

// The waits of a station process: they must really let the other
// processes run, so each one passes on the real clock, shortened 20 times
// (half a second of lock waiting is 25 ms).
class ShortenedRealClock final : public Clock {
 public:
  Duration elapsed() const override { return virtual_.elapsed(); }
  LocalTime local_time() const override { return virtual_.local_time(); }
  void sleep(Duration d) override {
    virtual_.sleep(d);
    std::this_thread::sleep_for(d / 20);
  }

 private:
  VirtualClock virtual_;
};

// One station's run in a forked child: registers, reports its number on
// `report`, waits for a byte on `go`, frees its station. Never returns.
[[noreturn]] void station_process(const std::filesystem::path& dir, int report, int go) {
  ShortenedRealClock clock;
  PosixFileSystem disk{DosPathMapper(dir, DriveMap{dir / "drives", {}})};
  VirtualTerminal terminal{clock};
  Console con{terminal, clock};
  testing::RecordingHandler handler;
  WorkAreas areas{disk};
  set_run_clock(&clock);
  set_console(&con);
  set_file_system(&disk);
  set_work_areas(&areas);
  set_run_error_handler(&handler);
  publics().clear();
  publics().set("WWW", "");
  const int station = IN_NET(Value(1));
  const unsigned char number = static_cast<unsigned char>(station);
  if (write(report, &number, 1) != 1) _exit(2);
  char token = 0;
  if (read(go, &token, 1) == 1 && station != 0) {
    publics().set("STACJA", station);
    OUT_NET();
    DBCLOSEALL();
  }
  _exit(station == 0 ? 1 : 0);
}

struct Pipe {
  int fd[2] = {-1, -1};
  Pipe() { EXPECT_EQ(pipe(fd), 0); }
  ~Pipe() {
    for (int f : fd)
      if (f >= 0) close(f);
  }
};

// Reads one byte per child, giving up after `seconds` of real time.
std::vector<int> read_numbers(int fd, std::size_t count, int seconds) {
  std::vector<int> numbers;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (numbers.size() < count && std::chrono::steady_clock::now() < deadline) {
    unsigned char n = 0;
    if (read(fd, &n, 1) == 1) numbers.push_back(n);
  }
  return numbers;
}

TEST(StationProcesses, TenStartingTogetherTakeDifferentNumbersAndFreeThem) {
  SessionFixture f;
  f.make_company("1");
  auto running = f.other_station("firma", true);  // the main program on another station
  Pipe report, go;
  std::vector<pid_t> children;
  for (int i = 0; i < 10; ++i) {
    const pid_t child = fork();
    if (child == 0) {
      close(report.fd[0]);
      close(go.fd[1]);
      station_process(f.tmp.path(), report.fd[1], go.fd[0]);
    }
    ASSERT_GT(child, 0);
    children.push_back(child);
  }
  close(report.fd[1]);
  report.fd[1] = -1;
  const std::vector<int> numbers = read_numbers(report.fd[0], children.size(), 120);
  const std::string map_while_running = f.company("ST");
  const std::string tokens(children.size(), 'g');
  EXPECT_EQ(write(go.fd[1], tokens.data(), tokens.size()), static_cast<ssize_t>(tokens.size()));
  int ended_well = 0;
  for (pid_t child : children) {
    int status = 0;
    waitpid(child, &status, 0);
    ended_well += WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  ASSERT_EQ(numbers.size(), 10u);
  const std::set<int> distinct(numbers.begin(), numbers.end());
  EXPECT_EQ(distinct.size(), 10u);
  EXPECT_EQ(*distinct.begin(), 2);
  EXPECT_EQ(*distinct.rbegin(), 11);
  EXPECT_EQ(ended_well, 10);
  EXPECT_EQ(map_while_running.substr(0, 11), "1??????????");
  running.reset();
  std::string freed = "1" + std::string(10, '0');
  freed.resize(30, ' ');
  EXPECT_EQ(f.company("ST"), freed);
}

TEST(StationProcesses, KilledStationIsReportedByTheNextLoneStart) {
  SessionFixture f;
  Pipe report, go;
  const pid_t child = fork();
  if (child == 0) {
    close(report.fd[0]);
    close(go.fd[1]);
    station_process(f.tmp.path(), report.fd[1], go.fd[0]);
  }
  ASSERT_GT(child, 0);
  const std::vector<int> numbers = read_numbers(report.fd[0], 1, 60);
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_EQ(numbers, std::vector<int>{1});

  EXPECT_EQ(IN_NET(Value(1)), 1);
  EXPECT_TRUE(publics().logical("INDEKSOWAC"));
  EXPECT_EQ(f.con.screen().row_text(20).substr(30, 26), "? - zle wyszedl z programu");
  EXPECT_EQ(f.bytes("bledy.txt"), "11.12.2026, 09:00 \xB3 ?\r\n");
  DBCLOSEALL();
  EXPECT_EQ(f.company("ST"), "?" + std::string(29, '0'));
}

}  // namespace
}  // namespace intra
