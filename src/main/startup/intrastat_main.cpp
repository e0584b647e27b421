// The workstation binary: installs the real clock, file system, terminal
// and error handler, then runs the start-up sequence in the current
// directory (the shared database).
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "main/clock.h"
#include "main/run_error.h"
#include "main/startup/error_dialog.h"
#include "main/startup/main_routine.h"
#include "main/startup/viewer_wiring.h"
#include "print/text_viewer.h"
#include "screen/console.h"
#include "screen/ncurses_terminal.h"
#include "storage/file_system.h"

#ifndef INTRASTAT_VERSION
#define INTRASTAT_VERSION "0"
#endif

namespace {

constexpr const char* kUsage =
    "Usage: intrastat [start argument]\n"
    "       intrastat --view FILE\n"
    "\n"
    "Run it with the shared database directory as the current directory.\n"
    "It registers this workstation, opens the tables of the working month and\n"
    "shows the Intrastat declaration form.\n"
    "\n"
    "Start arguments (compared by their beginning):\n"
    "  cd      no index rebuild at this start\n"
    "  3       rebuild indexes and the company table when alone; rebuild the\n"
    "          declaration header table\n"
    "  888     rebuild indexes when alone\n"
    "  mm.yy   switch the company's working month\n"
    "\n"
    "Environment:\n"
    "  INTRASTAT_DRIVES     directory with one sub-directory per DOS drive letter\n"
    "                       (default ~/.local/share/intrastat/drives)\n"
    "  INTRASTAT_DRIVE_<X>  directory of drive X: alone\n"
    "\n"
    "  --view FILE  show a print file (a DOS or relative name) in the viewer; Esc leaves\n"
    "  --help     this text\n"
    "  --version  the program's version\n";

}  // namespace

int main(int argc, char** argv) {
  std::optional<std::string_view> start_argument;
  std::optional<std::string> view_file;
  if (argc > 1) {
    const std::string_view first = argv[1];
    if (first == "--help" || first == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (first == "--version") {
      std::printf("intrastat %s\n", INTRASTAT_VERSION);
      return 0;
    }
    if (first == "--view" && argc > 2) view_file = argv[2];
    else start_argument = first;
  }

  using namespace intra;
  std::unique_ptr<NcursesTerminal> terminal;
  try {
    PosixFileSystem files(DosPathMapper(std::filesystem::current_path(), DriveMap::from_environment()));
    set_file_system(&files);
    terminal = std::make_unique<NcursesTerminal>(run_clock());
    Console con(*terminal, run_clock());
    set_console(&con);
    ScreenErrorHandler errors(con);
    set_run_error_handler(&errors);

    int exit_code = 0;
    if (view_file) {
      connect_viewer_services();
      READTEXT(*view_file);
    } else {
      exit_code = run_program(start_argument);
    }

    set_run_error_handler(nullptr);
    set_console(nullptr);
    terminal->shutdown();
    set_file_system(nullptr);
    return exit_code;
  } catch (const std::exception& e) {
    set_run_error_handler(nullptr);
    set_console(nullptr);
    set_file_system(nullptr);
    if (terminal) terminal->shutdown();
    std::fprintf(stderr, "intrastat: %s\n", e.what());
    return 1;
  }
}
