#include "print/process_runner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace intra {

bool PosixProcessRunner::run(const ProcessRequest& request) {
  // Everything the child needs is made before the fork: after it only
  // async-signal-safe calls are allowed.
  std::vector<std::string> words;
  words.push_back(request.program);
  words.insert(words.end(), request.arguments.begin(), request.arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const std::string directory = request.working_directory.string();

  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
      dup2(null, STDOUT_FILENO);
      close(null);
    }
    if (!directory.empty() && chdir(directory.c_str()) != 0) _exit(127);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  // 127 is the child's own report that the program could not be started.
  return !(WIFEXITED(status) && WEXITSTATUS(status) == 127);
}

namespace {
ProcessRunner* installed = nullptr;
}

ProcessRunner& process_runner() {
  static PosixProcessRunner real;
  return installed ? *installed : real;
}

void set_process_runner(ProcessRunner* runner) { installed = runner; }

}  // namespace intra
