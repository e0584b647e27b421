#pragma once
// The dbtool commands. Each works through the context's file system and
// throws ToolError with the message to show when it fails.
#include <string>
#include <vector>

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

// Builds an index over every record of the table, held exclusively.
void index_command(ToolContext& context, const std::string& table, const std::string& index,
                   const std::string& key_expression);
// `KEY<TAB>RECNO` per key in index order, the key bytes as stored. With a
// table (not empty) the index is opened through it, so the key must compile
// on its fields.
void keys_command(ToolContext& context, const std::string& index, const std::string& table);
// Prints the record number of the first visible record whose key begins
// with the value; false (after printing "not found") when there is none.
bool seek_command(ToolContext& context, const std::string& table, const std::string& index,
                  const std::string& value_text);
// Prints "INDEX: consistent" or the problems of each index; false when
// any index has one.
bool check_command(ToolContext& context, const std::string& table, const std::vector<std::string>& indexes);

}  // namespace intra::dbtool
