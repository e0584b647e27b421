#include "config/config.h"

#include "config/computer_name.h"
#include "config/unknown_config_name.h"
#include "main/ascii_case.h"
#include "storage/field_codec.h"

namespace intra {

Config::Config() : oIniFile(TINIFILE_X(cFileName_)) {}

Config::~Config() = default;

ConfigName Config::CheckName(std::string_view name) {
  if (auto row = find_config_name(name)) return *row;
  end_for_unknown_config_name(name);
}

Value Config::ReadValue(std::string_view section, std::string_view name) const {
  const ConfigName row = CheckName(name);
  std::string text;
  if (row.scope == ConfigScope::OwnFirst) text = oIniFile->ReadString(section, row.key, "");
  if (text.empty()) text = oIniFile->ReadString(kSystemSection, row.key, "");
  if (row.type == ConfigType::Number) return Value(parse_number(text));
  return Value(std::move(text));
}

Value Config::SaveValue(std::string_view section, std::string_view name, const Value& value) {
  const ConfigName row = CheckName(name);
  Value previous = ReadValue(section, name);
  const std::string_view target = row.scope == ConfigScope::SystemOnly ? kSystemSection : section;
  switch (value.type()) {
    case ValueType::Number: oIniFile->WriteNumber(target, row.key, value.number()); break;
    case ValueType::Logical: oIniFile->WriteBool(target, row.key, value.logical()); break;
    case ValueType::Date: oIniFile->WriteDate(target, row.key, value.date()); break;
    case ValueType::Text:
    case ValueType::List: oIniFile->WriteString(target, row.key, value.text()); break;
  }
  return previous;
}

void Config::DeleteValue(std::string_view, std::string_view name) const { CheckName(name); }

bool Config::DeleteSection(std::string_view section) {
  oIniFile->EraseSection(section);
  return true;
}

bool Config::IsSection(std::string_view section) const {
  const std::string wanted = upper_ascii(section);
  for (const std::string& name : oIniFile->ReadSections()) {
    if (upper_ascii(name) == wanted) return true;
  }
  return false;
}

bool Config::Commit() { return oIniFile->UpdateFile(); }

Value GETCFGVALUE(std::string_view name, std::optional<std::string_view> section) {
  const Config config;
  const std::string own = section ? std::string(*section) : computer_name();
  return config.ReadValue(own, name);
}

Value SETCFGVALUE(std::string_view name, const Value& value, std::optional<std::string_view> section) {
  Config config;
  const std::string own = section ? std::string(*section) : computer_name();
  Value previous = config.SaveValue(own, name, value);
  config.Commit();
  return previous;
}

}  // namespace intra
