#pragma once
// The functions key texts call. Each is found by its name at compile time,
// so a call in the compiled tree is a direct jump to its body.
#include <string>
#include <string_view>
#include <vector>

#include "storage/key_expression_nodes.h"

namespace intra::key_expr {

struct FunctionInfo {
  enum class Kind {
    Plain,        // arguments evaluated, then the body
    Conditional,  // IIF: the parser builds a ConditionalNode
  };
  enum class ResultLayout {
    Standard,       // 10 places, no decimals
    FirstArgument,  // what the first argument carries (DESCEND of a number)
    RecordNumber,   // 7 places, the widest record number of a table
  };
  const char* name;
  int min_arguments;
  int max_arguments;
  Kind kind;
  ResultLayout layout;
  FunctionBody body;  // null for Conditional
};

// The function a call names (in capitals): the exact name, or else the one
// function whose name begins with it when it has four letters or more
// ("DESC" for DESCEND). Null and `problem` set when there is none or the
// abbreviation fits several.
const FunctionInfo* find_function(std::string_view name, std::string& problem);

NumericLayout result_layout(const FunctionInfo& function, const std::vector<NodePtr>& arguments);

}  // namespace intra::key_expr
