#pragma once
// The logical names of the configuration values: each maps to its key in
// vat.ini, to where it is looked for and to its type. The table is
// complete; any other name is a programming error (see unknown_config_name.h).
#include <optional>
#include <string_view>

namespace intra {

enum class ConfigScope {
  SystemOnly,  // "D": only the common section "System"
  OwnFirst     // "S": the computer's own section, then "System"
};

enum class ConfigType { Text, Number };

struct ConfigName {
  std::string_view key;
  ConfigScope scope;
  ConfigType type;
};

// The table's row for a logical name (compared exactly), or nothing.
std::optional<ConfigName> find_config_name(std::string_view name);

// The common section every computer falls back on.
inline constexpr std::string_view kSystemSection = "System";

}  // namespace intra
