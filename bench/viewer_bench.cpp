// The print-file viewer on a small and a large print file: open the file,
// go to its end (Ctrl+PgDn), move back a page 100 times (PgUp), leave. The
// viewer never reads the whole file, so both must take about the same
// time; the goal is under 50 ms for the large one.
//
//   viewer_bench [size in MB of the large file, default 500] [directory]
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "main/clock.h"
#include "print/text_viewer.h"
#include "screen/console.h"
#include "screen/key_codes.h"
#include "screen/virtual_terminal.h"
#include "storage/file_system.h"

namespace {

using intra::bench::WorkDirectory;

// Report-like lines of varying width (some ending in blanks), CR LF each,
// with a form feed now and then, until the file has `bytes` bytes.
void write_print_file(const std::filesystem::path& path, std::uint64_t bytes) {
  std::ofstream out(path, std::ios::binary);
  std::string line;
  std::uint64_t written = 0;
  for (std::uint64_t n = 0; written < bytes; ++n) {
    line = "Pozycja " + std::to_string(n) + "  " + std::string(n % 97, n % 3 ? 'x' : ' ');
    line += n % 500 == 0 ? "\f\r\n" : "\r\n";
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    written += line.size();
  }
}

struct Session {
  double ms;
  int repaints;
};

// One viewing session, from opening to Esc.
Session view(intra::FileSystem& fs, const std::string& name) {
  intra::VirtualClock clock;
  intra::VirtualTerminal terminal(clock);
  intra::Console con(terminal, clock);
  intra::set_run_clock(&clock);
  intra::set_console(&con);
  std::vector<int> keys = {intra::key::kCtrlPgDn};
  keys.insert(keys.end(), 100, intra::key::kPgUp);
  keys.push_back(intra::key::kEsc);
  // One key every 100 ms of the virtual clock, as typed: none is dropped
  // by a repaint.
  for (std::size_t i = 0; i < keys.size(); ++i)
    terminal.type_after(std::chrono::milliseconds(100 * static_cast<long long>(i + 1)), {keys[i]});
  intra::TextViewer viewer(name, con, fs);
  const auto start = std::chrono::steady_clock::now();
  viewer.READTEXT();
  const auto stop = std::chrono::steady_clock::now();
  intra::set_console(nullptr);
  intra::set_run_clock(nullptr);
  return {std::chrono::duration<double, std::milli>(stop - start).count(), viewer.repaints()};
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint64_t large_mb = argc > 1 ? std::stoull(argv[1]) : 500;
  WorkDirectory dir(argc > 2 ? argv[2] : "", "viewer_bench_");
  intra::PosixFileSystem fs{intra::DosPathMapper(dir.path(), intra::DriveMap{dir.path(), {}})};

  write_print_file(dir.path() / "small.prn", 10 * 1024);
  const auto made = std::chrono::steady_clock::now();
  write_print_file(dir.path() / "large.prn", large_mb * 1024 * 1024);
  const double writing =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - made).count();
  std::printf("large print file of %llu MB written in %.0f ms (not counted)\n",
              static_cast<unsigned long long>(large_mb), writing);

  for (const char* name : {"small.prn", "large.prn"}) {
    Session best{1e9, 0};
    for (int run = 0; run < 3; ++run) {
      const Session session = view(fs, name);
      if (session.ms < best.ms) best = session;
    }
    // The small file reaches its top after a few pages: fewer windows.
    std::printf("%-10s open, Ctrl+PgDn, 100 x PgUp, Esc: %.2f ms (best of 3, %d windows painted)\n", name,
                best.ms, best.repaints);
  }
  return 0;
}
