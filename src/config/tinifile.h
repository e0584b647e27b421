#pragma once
// TINIFILE: a Windows-style INI file read whole into memory, looked up by
// section and key without regard to case (the first match in file order
// wins), changed in memory and written back whole by UpdateFile. Comments
// and the order of entries survive a read-write cycle. An empty section
// name stands for the global keys before the first section.
//
// Messages about wrong calls go to the error output, not to the screen; a
// file that cannot be opened, created or written reports nothing.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/ini_contents.h"
#include "main/date.h"

namespace intra {

class TINIFILE {
 public:
  // Reads the file through the run's file system, creating it empty when it
  // does not exist. An empty name gives nothing (and a message).
  static std::optional<TINIFILE> New(std::string_view file_name);

  // The value text, or `default_value` when the key is not found.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view default_value) const;
  // Sets an existing entry or adds one; a new global key goes in front of
  // everything, a new key of a missing section goes into a new section at
  // the end. An empty key changes nothing (and gives a message).
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

  // The text read as a number (leading blanks, sign, digits, one point;
  // anything else ends it, so a non-number reads as 0).
  double ReadNumber(std::string_view section, std::string_view key, double default_value) const;
  // The number as text without blanks.
  void WriteNumber(std::string_view section, std::string_view key, double value);

  // The text read as YYYYMMDD; anything else is the empty date.
  Date ReadDate(std::string_view section, std::string_view key, Date default_value) const;
  void WriteDate(std::string_view section, std::string_view key, Date value);

  // True only for the exact text ".t.".
  bool ReadBool(std::string_view section, std::string_view key, bool default_value) const;
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // The keys of the section in file order, without comments; with an empty
  // name the global keys.
  std::vector<std::string> ReadSection(std::string_view section) const;
  // The names of all sections in file order.
  std::vector<std::string> ReadSections() const;

  // Removes the first entry with that key from the section; nothing when
  // either is missing. An empty section name means the global keys.
  void DeleteKey(std::string_view section, std::string_view key);
  // Removes the first section of that name; with an empty name every global
  // key (global comments stay).
  void EraseSection(std::string_view section);

  // Writes the contents to the file, replacing it; false when the file
  // could not be written.
  bool UpdateFile() const;

  const std::string& FileName() const { return FileName_; }
  const IniContents& Contents() const { return Contents_; }

 private:
  explicit TINIFILE(std::string file_name) : FileName_(std::move(file_name)) {}

  // The first section of that name (sections only: a global key of the same
  // name is no section), or nullptr.
  const IniSection* find_section(std::string_view section) const;
  IniSection* find_section(std::string_view section);
  // The first global key of that name, or nullptr.
  IniGlobalKey* find_global_key(std::string_view key);
  const IniGlobalKey* find_global_key(std::string_view key) const;

  std::string FileName_;
  IniContents Contents_;
};

// The constructor function of the class, as the system calls it.
inline std::optional<TINIFILE> TINIFILE_X(std::string_view file_name) { return TINIFILE::New(file_name); }

}  // namespace intra
