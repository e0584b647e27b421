#pragma once
// dbtool: the administrators' command-line utility on the table engine.
//
//   dbtool info TABLE
//   dbtool create FIELDS
//   dbtool import TABLE FILE.csv
//   dbtool export TABLE [--deleted]
//   dbtool pack TABLE
//   dbtool zap TABLE
//   dbtool index TABLE INDEX "KEY EXPRESSION"
//   dbtool keys INDEX [TABLE]
//   dbtool seek TABLE INDEX VALUE
//   dbtool check TABLE INDEX...
//
// `--utf8` anywhere converts CSV text between UTF-8 and the tables' code
// page 852; without it text bytes pass unchanged. TABLE names are DOS or
// POSIX paths relative to the current directory.
#include <ostream>
#include <string>
#include <vector>

namespace intra {

// Runs one command line (`args` without the program name). Results go to
// `out`, messages to `err` prefixed "dbtool: ". Returns the exit code: 0 on
// success (and for --help), 1 for every error, and 1 without a message when
// a seek finds nothing or a check finds problems.
int run_dbtool(std::vector<std::string> args, std::ostream& out, std::ostream& err);

}  // namespace intra
