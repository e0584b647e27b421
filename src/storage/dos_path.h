#pragma once
// The program names files the DOS way: backslashes, any letter case, drive
// paths such as C:\VAT_ROB\PROGRAM.DBF. DosPathMapper turns such a name into
// a POSIX path: separators become '/', a drive path goes under that drive's
// directory, a relative path under the working directory (the database),
// and every component that exists is found whatever its letter case, so a
// database copied from Windows with AS.DBF or As.Ntx opens as as.dbf. A
// component that does not exist keeps the spelling the program wrote, so a
// new file is created under the name as written.
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace intra {

// Where drive letters live on this machine. Drive X: is the directory
// `letters[X]` when given, else `root`/x (the letter in lower case).
struct DriveMap {
  std::filesystem::path root;
  std::map<char, std::filesystem::path> letters;  // upper-case letter -> directory

  // From the environment: INTRASTAT_DRIVES names the root (default
  // $XDG_DATA_HOME/intrastat/drives, or ~/.local/share/intrastat/drives);
  // INTRASTAT_DRIVE_C and the like name one drive's directory.
  static DriveMap from_environment();
  std::filesystem::path directory_of(char letter) const;
};

class DosPathMapper {
 public:
  DosPathMapper(std::filesystem::path working_directory, DriveMap drives);

  std::filesystem::path map(std::string_view dos_path) const;
  const std::filesystem::path& working_directory() const { return working_; }
  const DriveMap& drives() const { return drives_; }

  // The entry of `directory` whose name equals `name` ignoring ASCII case:
  // the exact spelling when it exists, else the first match in name order,
  // else `name` itself.
  static std::string find_entry(const std::filesystem::path& directory, const std::string& name);

 private:
  std::filesystem::path working_;
  DriveMap drives_;
};

// ASCII case-insensitive equality, as file names are compared.
bool same_name(std::string_view a, std::string_view b);
// DOS wildcard match ('*' any run, '?' one character), ignoring ASCII case.
bool wildcard_match(std::string_view pattern, std::string_view name);

}  // namespace intra
