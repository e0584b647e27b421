#pragma once
// The dbtool commands. Each works through the context's file system and
// throws ToolError with the message to show when it fails.
#include <string>

#include "storage/dbtool/tool_context.h"

namespace intra::dbtool {

// Header and fields as `key: value` lines, then one `NAME TYPE WIDTH DECIMALS` per field.
void info_command(ToolContext& context, const std::string& table);
// Creates the table a field-specification string describes.
void create_command(ToolContext& context, const std::string& field_specification);
void import_command(ToolContext& context, const std::string& table, const std::string& csv_file);
void export_command(ToolContext& context, const std::string& table);
void pack_command(ToolContext& context, const std::string& table);
void zap_command(ToolContext& context, const std::string& table);

}  // namespace intra::dbtool
