#include "config/computer_name.h"

#include <unistd.h>

#include <array>
#include <cstdlib>

#include "main/ascii_case.h"

namespace intra {

namespace {
MachineIdentity* g_installed = nullptr;
}

std::optional<std::string> SystemMachineIdentity::environment_value(std::string_view name) const {
  const char* value = std::getenv(std::string(name).c_str());
  if (!value) return std::nullopt;
  return std::string(value);
}

std::string SystemMachineIdentity::host_name() const {
  std::array<char, 256> buffer{};
  if (gethostname(buffer.data(), buffer.size() - 1) != 0) return "";
  return std::string(buffer.data());
}

MachineIdentity& machine_identity() {
  static SystemMachineIdentity real;
  return g_installed ? *g_installed : real;
}

void set_machine_identity(MachineIdentity* identity) { g_installed = identity; }

std::string computer_name() {
  const MachineIdentity& identity = machine_identity();
  if (auto name = identity.environment_value("COMPUTERNAME")) return *name;
  std::string host = identity.host_name();
  // A computer name has no domain part.
  if (const auto dot = host.find('.'); dot != std::string::npos) host.resize(dot);
  return upper_ascii(host);
}

}  // namespace intra
