#pragma once
// Running an outside program without the command interpreter: the program
// gets each argument exactly as given, so nothing typed by the user (a mail
// address, a server name) is ever read as a command. Tests install a fake.
#include <filesystem>
#include <string>
#include <vector>

namespace intra {

struct ProcessRequest {
  std::string program;             // a path, or a name looked up on the PATH
  std::vector<std::string> arguments;  // without the program's own name
  std::filesystem::path working_directory;  // empty: the program's own
};

class ProcessRunner {
 public:
  virtual ~ProcessRunner() = default;
  // Runs the program to its end, its standard output thrown away; false
  // when it could not be started. Its exit status is not looked at.
  virtual bool run(const ProcessRequest& request) = 0;
};

// fork and exec; the child's standard output goes to /dev/null.
class PosixProcessRunner final : public ProcessRunner {
 public:
  bool run(const ProcessRequest& request) override;
};

// The runner of the run (a PosixProcessRunner unless one is installed).
ProcessRunner& process_runner();
void set_process_runner(ProcessRunner* runner);  // nullptr: the real one again

}  // namespace intra
