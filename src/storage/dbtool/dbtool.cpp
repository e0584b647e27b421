#include "storage/dbtool/dbtool.h"

#include <exception>
#include <filesystem>
#include <functional>
#include <string_view>

#include "storage/dbtool/commands.h"

namespace intra {
namespace {

constexpr std::string_view kUsage =
    "usage: dbtool [--utf8] COMMAND ARGUMENTS\n"
    "  info TABLE                header, record count and fields of a table\n"
    "  create FIELDS             create a table from a field-specification string\n"
    "                            \"path,NAME,C,8,0,NAME2,N,10,2,...\" (an existing table is replaced)\n"
    "  import TABLE FILE.csv     append one record per CSV line; the first line names the fields\n"
    "  export TABLE [--deleted]  the live records as CSV on standard output;\n"
    "                            --deleted: every record, with a first column DELETED (T/F)\n"
    "  pack TABLE                remove the deleted records\n"
    "  zap TABLE                 remove all records\n"
    "  index TABLE INDEX \"KEY\"   build INDEX (.ntx added when missing) on the key expression KEY\n"
    "  keys INDEX [TABLE]        every key in index order: the key bytes, a TAB, the record number;\n"
    "                            with TABLE the index's key must also compile on that table\n"
    "  seek TABLE INDEX VALUE    the record number of the first visible record whose key begins\n"
    "                            with VALUE, or \"not found\" with exit code 1\n"
    "  check TABLE INDEX...      each index against its table and its own tree: \"INDEX: consistent\",\n"
    "                            or one line per problem (the first 50) and exit code 1\n"
    "options:\n"
    "  --utf8     CSV text is UTF-8 (tables hold code page 852); without it bytes pass unchanged\n"
    "  --help     this text\n"
    "TABLE: a DOS or POSIX path, with or without .dbf, relative to the current directory.\n"
    "CSV values: C text (export drops trailing blanks), N number as stored (\"-3.50\"),\n"
    "D YYYYMMDD or empty, L T/F (import also t f Y N y n), M memo text; an empty value\n"
    "leaves the field blank. Export ends lines with LF; import takes LF or CR LF.\n"
    "Seek VALUE by the key's type: text as given (shorter than the key: the first key beginning\n"
    "with it), numbers [-]digits[.digits], dates YYYYMMDD or dd.mm.yyyy, logicals T or F.\n"
    "Deleted records are in the indexes; seek passes over them.\n";

constexpr int kSuccess = 0;
constexpr int kFailure = 1;

struct Command {
  std::string_view name;
  std::size_t fewest_arguments;  // after the command name
  std::size_t most_arguments;
  std::string_view synopsis;
  // False when the command ran but its answer is "no" (a seek that finds
  // nothing, a check that finds problems): exit code 1 without a message.
  std::function<bool(dbtool::ToolContext&, const std::vector<std::string>&)> run;
};

constexpr std::size_t kAnyNumber = static_cast<std::size_t>(-1);

// A command that either succeeds or throws.
template <class Body>
auto always_succeeds(Body body) {
  return [body](dbtool::ToolContext& c, const std::vector<std::string>& a) {
    body(c, a);
    return true;
  };
}

const std::vector<Command>& commands() {
  using dbtool::ToolContext;
  using Arguments = std::vector<std::string>;
  static const std::vector<Command> all = {
      {"info", 1, 1, "info TABLE", always_succeeds([](ToolContext& c, const Arguments& a) { dbtool::info_command(c, a[0]); })},
      {"create", 1, 1, "create FIELDS",
       always_succeeds([](ToolContext& c, const Arguments& a) { dbtool::create_command(c, a[0]); })},
      {"import", 2, 2, "import TABLE FILE.csv",
       always_succeeds([](ToolContext& c, const Arguments& a) { dbtool::import_command(c, a[0], a[1]); })},
      {"export", 1, 1, "export TABLE [--deleted]",
       always_succeeds([](ToolContext& c, const Arguments& a) { dbtool::export_command(c, a[0]); })},
      {"pack", 1, 1, "pack TABLE", always_succeeds([](ToolContext& c, const Arguments& a) { dbtool::pack_command(c, a[0]); })},
      {"zap", 1, 1, "zap TABLE", always_succeeds([](ToolContext& c, const Arguments& a) { dbtool::zap_command(c, a[0]); })},
      {"index", 3, 3, "index TABLE INDEX \"KEY EXPRESSION\"",
       always_succeeds([](ToolContext& c, const Arguments& a) { dbtool::index_command(c, a[0], a[1], a[2]); })},
      {"keys", 1, 2, "keys INDEX [TABLE]",
       always_succeeds([](ToolContext& c, const Arguments& a) { dbtool::keys_command(c, a[0], a.size() > 1 ? a[1] : ""); })},
      {"seek", 3, 3, "seek TABLE INDEX VALUE",
       [](ToolContext& c, const Arguments& a) { return dbtool::seek_command(c, a[0], a[1], a[2]); }},
      {"check", 2, kAnyNumber, "check TABLE INDEX...",
       [](ToolContext& c, const Arguments& a) {
         return dbtool::check_command(c, a[0], Arguments(a.begin() + 1, a.end()));
       }},
  };
  return all;
}

// The command line split into options and the words around them.
struct CommandLine {
  bool help = false;
  bool utf8 = false;
  bool deleted = false;
  std::vector<std::string> words;
  std::string problem;
};

CommandLine parse_command_line(const std::vector<std::string>& args) {
  CommandLine line;
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h")
      line.help = true;
    else if (arg == "--utf8")
      line.utf8 = true;
    else if (arg == "--deleted")
      line.deleted = true;
    else if (arg.starts_with("--") && line.problem.empty())
      line.problem = "unknown option " + arg;
    else
      line.words.push_back(arg);
  }
  return line;
}

int usage_error(std::ostream& err, const std::string& problem) {
  err << "dbtool: " << problem << '\n' << kUsage;
  return kFailure;
}

}  // namespace

int run_dbtool(std::vector<std::string> args, std::ostream& out, std::ostream& err) {
  const CommandLine line = parse_command_line(args);
  if (line.help) {
    out << kUsage;
    return kSuccess;
  }
  if (!line.problem.empty()) return usage_error(err, line.problem);
  if (line.words.empty()) return usage_error(err, "no command");

  const std::string& name = line.words.front();
  const Command* command = nullptr;
  for (const Command& candidate : commands())
    if (candidate.name == name) command = &candidate;
  if (!command) return usage_error(err, "unknown command " + name);
  const std::vector<std::string> arguments(line.words.begin() + 1, line.words.end());
  if (arguments.size() < command->fewest_arguments || arguments.size() > command->most_arguments)
    return usage_error(err, "usage: dbtool " + std::string(command->synopsis));
  if (line.deleted && command->name != "export") return usage_error(err, "--deleted belongs to export only");

  try {
    PosixFileSystem files(DosPathMapper(std::filesystem::current_path(), DriveMap::from_environment()));
    dbtool::ToolContext context{files, out, line.utf8, line.deleted};
    const bool yes = command->run(context, arguments);
    out.flush();
    return yes ? kSuccess : kFailure;
  } catch (const std::exception& e) {
    out.flush();
    err << "dbtool: " << e.what() << '\n';
    return kFailure;
  }
}

}  // namespace intra
