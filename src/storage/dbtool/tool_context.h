#pragma once
// What every dbtool command works with, and how it gives up.
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "storage/file_system.h"
#include "storage/table.h"

namespace intra::dbtool {

// A command's failure; run_dbtool prints the text after "dbtool: " and
// exits with 1. Tables held by the command close as the stack unwinds, so
// whatever was written before the failure stays written.
class ToolError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ToolContext {
  FileSystem& files;
  std::ostream& out;
  bool utf8 = false;      // CSV text is UTF-8 rather than code page 852
  bool deleted = false;   // export deleted records too
};

// Tools change a table only while nobody else has it open.
inline constexpr OpenOptions kExclusive{.shared = false, .read_only = false};
// Reading works beside the workstations that use the table.
inline constexpr OpenOptions kSharedReading{.shared = true, .read_only = true};

// Opens a table or throws the engine's message.
std::unique_ptr<Table> open_table(ToolContext& context, std::string_view name, OpenOptions options);
// Closes a table or throws the engine's message.
void close_table(Table& table);

}  // namespace intra::dbtool
