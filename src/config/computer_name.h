#pragma once
// The computer's name, which names its own section of vat.ini: the
// environment value COMPUTERNAME as it is (also when set but empty);
// where it is not set, as on Linux, the short host name in upper case, as
// a computer name is written; "" when neither is known (the own section
// then being the global keys).
#include <optional>
#include <string>
#include <string_view>

namespace intra {

// Where the name comes from; tests install a fake.
class MachineIdentity {
 public:
  virtual ~MachineIdentity() = default;
  virtual std::optional<std::string> environment_value(std::string_view name) const = 0;
  // The host name, "" when unknown.
  virtual std::string host_name() const = 0;
};

class SystemMachineIdentity final : public MachineIdentity {
 public:
  std::optional<std::string> environment_value(std::string_view name) const override;
  std::string host_name() const override;
};

// The installed identity; the real one when none is installed.
MachineIdentity& machine_identity();
void set_machine_identity(MachineIdentity* identity);

std::string computer_name();

}  // namespace intra
