#include "config/config_names.h"

#include <array>
#include <utility>

namespace intra {

namespace {

using Row = std::pair<std::string_view, ConfigName>;

constexpr std::array<Row, 11> kNames{{
    {"", {"", ConfigScope::SystemOnly, ConfigType::Text}},
    {"TERMINAL_MODE", {"Mode", ConfigScope::SystemOnly, ConfigType::Text}},
    {"PRINTERNAME", {"PrinterName", ConfigScope::OwnFirst, ConfigType::Text}},
    {"PRINTERTYPE", {"PrinterType", ConfigScope::OwnFirst, ConfigType::Text}},
    {"ELTRONNAME", {"PrinterName", ConfigScope::OwnFirst, ConfigType::Text}},
    {"ELTRONTYPE", {"PrinterType", ConfigScope::OwnFirst, ConfigType::Text}},
    {"SERPROXY_MODE", {"SerProxy", ConfigScope::OwnFirst, ConfigType::Text}},
    {"COM1_PORT", {"Com1IpPort", ConfigScope::OwnFirst, ConfigType::Number}},
    {"COM1_ADDR", {"Com1IpAddr", ConfigScope::OwnFirst, ConfigType::Text}},
    {"COM2_PORT", {"Com2IpPort", ConfigScope::OwnFirst, ConfigType::Number}},
    {"COM2_ADDR", {"Com2IpAddr", ConfigScope::OwnFirst, ConfigType::Text}},
}};

}  // namespace

std::optional<ConfigName> find_config_name(std::string_view name) {
  for (const auto& [logical, row] : kNames) {
    if (logical == name) return row;
  }
  return std::nullopt;
}

}  // namespace intra
