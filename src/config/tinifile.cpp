#include "config/tinifile.h"

#include <algorithm>
#include <charconv>
#include <iostream>

#include "config/ini_reader.h"
#include "config/ini_writer.h"
#include "main/ascii_case.h"
#include "storage/field_codec.h"
#include "storage/file_system.h"

namespace intra {

namespace {

bool same_ini_name(std::string_view a, std::string_view b) { return lower_ascii(a) == lower_ascii(b); }

const std::string& name_of(const IniSection& section) { return section.name; }
const std::string& name_of(const IniGlobalKey& key) { return key.key; }

// The first element of kind T (a section or a global key) with that name.
template <typename T, typename Contents>
auto find_element(Contents& contents, std::string_view name) {
  return std::find_if(contents.begin(), contents.end(), [&](const IniElement& element) {
    const T* candidate = std::get_if<T>(&element);
    return candidate && same_ini_name(name_of(*candidate), name);
  });
}

// The entry with that key in a section, comments passed over.
template <typename Entries>
auto find_entry(Entries& entries, std::string_view key) {
  return std::find_if(entries.begin(), entries.end(),
                      [&](const IniEntry& entry) { return entry.key && same_ini_name(*entry.key, key); });
}

// Shortest fixed-point text that reads back as the same number; whole
// numbers without a point.
std::string number_text(double value) {
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (result.ec != std::errc()) return "0";
  return std::string(buffer, result.ptr);
}

}  // namespace

std::optional<TINIFILE> TINIFILE::New(std::string_view file_name) {
  if (file_name.empty()) {
    std::cerr << "No filename passed to TIniFILE_X():New()" << std::endl;
    return std::nullopt;
  }
  TINIFILE ini{std::string(file_name)};
  FileSystem& files = file_system();
  const bool existed = files.exists(file_name);
  auto file = files.open(file_name, existed ? OpenMode::Read : OpenMode::Create);
  if (file && existed) ini.Contents_ = build_ini_contents(read_ini_lines(*file));
  return ini;
}

const IniSection* TINIFILE::find_section(std::string_view section) const {
  const auto found = find_element<IniSection>(Contents_, section);
  return found == Contents_.end() ? nullptr : &std::get<IniSection>(*found);
}

IniSection* TINIFILE::find_section(std::string_view section) {
  return const_cast<IniSection*>(static_cast<const TINIFILE&>(*this).find_section(section));
}

const IniGlobalKey* TINIFILE::find_global_key(std::string_view key) const {
  const auto found = find_element<IniGlobalKey>(Contents_, key);
  return found == Contents_.end() ? nullptr : &std::get<IniGlobalKey>(*found);
}

IniGlobalKey* TINIFILE::find_global_key(std::string_view key) {
  return const_cast<IniGlobalKey*>(static_cast<const TINIFILE&>(*this).find_global_key(key));
}

std::string TINIFILE::ReadString(std::string_view section, std::string_view key, std::string_view default_value) const {
  if (section.empty()) {
    if (const IniGlobalKey* global = find_global_key(key)) return global->value;
    return std::string(default_value);
  }
  if (const IniSection* found = find_section(section)) {
    if (const auto entry = find_entry(found->entries, key); entry != found->entries.end()) return entry->text;
  }
  return std::string(default_value);
}

void TINIFILE::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  if (key.empty()) {
    std::cerr << "Must specify an identifier" << std::endl;
    return;
  }
  if (section.empty()) {
    if (IniGlobalKey* global = find_global_key(key)) {
      global->value = value;
    } else {
      // In front of everything, so that it is written before the first section.
      Contents_.insert(Contents_.begin(), IniGlobalKey{std::string(key), std::string(value)});
    }
    return;
  }
  if (IniSection* found = find_section(section)) {
    if (const auto entry = find_entry(found->entries, key); entry != found->entries.end()) {
      entry->text = value;
    } else {
      found->entries.push_back(IniEntry{std::string(key), std::string(value)});
    }
    return;
  }
  Contents_.emplace_back(IniSection{std::string(section), {IniEntry{std::string(key), std::string(value)}}});
}

double TINIFILE::ReadNumber(std::string_view section, std::string_view key, double default_value) const {
  return parse_number(ReadString(section, key, number_text(default_value)));
}

void TINIFILE::WriteNumber(std::string_view section, std::string_view key, double value) {
  WriteString(section, key, number_text(value));
}

Date TINIFILE::ReadDate(std::string_view section, std::string_view key, Date default_value) const {
  return Date::from_dtos(ReadString(section, key, default_value.dtos()));
}

void TINIFILE::WriteDate(std::string_view section, std::string_view key, Date value) {
  WriteString(section, key, value.dtos());
}

bool TINIFILE::ReadBool(std::string_view section, std::string_view key, bool default_value) const {
  return ReadString(section, key, default_value ? ".t." : ".f.") == ".t.";
}

void TINIFILE::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? ".t." : ".f.");
}

std::vector<std::string> TINIFILE::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  if (section.empty()) {
    for (const IniElement& element : Contents_) {
      if (const auto* global = std::get_if<IniGlobalKey>(&element)) keys.push_back(global->key);
    }
  } else if (const IniSection* found = find_section(section)) {
    for (const IniEntry& entry : found->entries) {
      if (entry.key) keys.push_back(*entry.key);
    }
  }
  return keys;
}

std::vector<std::string> TINIFILE::ReadSections() const {
  std::vector<std::string> names;
  for (const IniElement& element : Contents_) {
    if (const auto* section = std::get_if<IniSection>(&element)) names.push_back(section->name);
  }
  return names;
}

void TINIFILE::DeleteKey(std::string_view section, std::string_view key) {
  if (section.empty()) {
    if (const auto global = find_element<IniGlobalKey>(Contents_, key); global != Contents_.end()) Contents_.erase(global);
    return;
  }
  if (IniSection* found = find_section(section)) {
    if (const auto entry = find_entry(found->entries, key); entry != found->entries.end()) found->entries.erase(entry);
  }
}

void TINIFILE::EraseSection(std::string_view section) {
  if (section.empty()) {
    std::erase_if(Contents_, [](const IniElement& element) { return std::holds_alternative<IniGlobalKey>(element); });
    return;
  }
  if (const auto found = find_element<IniSection>(Contents_, section); found != Contents_.end()) Contents_.erase(found);
}

bool TINIFILE::UpdateFile() const {
  auto file = file_system().open(FileName_, OpenMode::CreateTruncate);
  if (!file) return false;
  const std::string bytes = ini_file_bytes(Contents_);
  return file->write_at(0, bytes.data(), bytes.size()) == static_cast<long long>(bytes.size());
}

}  // namespace intra
