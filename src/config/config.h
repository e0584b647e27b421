#pragma once
// Per-computer settings kept in "vat.ini" in the working directory, asked
// for by logical name (config_names.h). A computer's own section is named
// after the computer (computer_name.h); "System" holds the values for every
// computer without its own. An empty value counts as missing.
//
// GETCFGVALUE and SETCFGVALUE read the file afresh at every call, so an
// edit of vat.ini takes effect at the next printout without a restart.
#include <optional>
#include <string>
#include <string_view>

#include "config/config_names.h"
#include "config/tinifile.h"
#include "main/value.h"

namespace intra {

class Config {
 public:
  // New: opens vat.ini (created empty when there is none).
  Config();
  ~Config();
  Config(const Config&) = delete;
  Config& operator=(const Config&) = delete;

  // A text value as read ("" when missing), a number value converted from
  // its text (0 when missing). Own-first names look in `section`, then in
  // "System"; system-only names only in "System".
  Value ReadValue(std::string_view section, std::string_view name) const;
  // Writes the value into `section` in memory (a system-only name into
  // "System", where it is read); returns what ReadValue gave before.
  Value SaveValue(std::string_view section, std::string_view name, const Value& value);
  // Checks the name; changes nothing.
  void DeleteValue(std::string_view section, std::string_view name) const;
  // Removes the section in memory.
  bool DeleteSection(std::string_view section);
  // Whether a section of that name exists (letter case not counted).
  bool IsSection(std::string_view section) const;
  // Writes vat.ini whole.
  bool Commit();

  const std::string& cFileName() const { return cFileName_; }

 private:
  // The table's row; a name outside it ends the program.
  static ConfigName CheckName(std::string_view name);

  std::string cFileName_ = "vat.ini";
  std::optional<TINIFILE> oIniFile;
};

// The value of a logical name for `section` (default: this computer).
Value GETCFGVALUE(std::string_view name, std::optional<std::string_view> section = std::nullopt);
// Sets the value for `section` (default: this computer) and writes vat.ini
// at once; returns the previous value.
Value SETCFGVALUE(std::string_view name, const Value& value, std::optional<std::string_view> section = std::nullopt);

}  // namespace intra
