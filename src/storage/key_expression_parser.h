#pragma once
// Key text -> compiled tree. Fields are resolved through the context while
// parsing; any text the language cannot read is refused with the reason and
// its column, never by crashing: nesting is bounded (kMaxNesting levels), so
// neither the parser nor the tree it builds can run out of stack.
#include <string>
#include <string_view>

#include "storage/key_expression_nodes.h"

namespace intra::key_expr {

constexpr int kMaxNesting = 256;

// The tree for `text`; null and `problem` (without the key text, which the
// caller adds) when it cannot be compiled.
NodePtr parse_key_text(std::string_view text, ExpressionContext& ctx, std::string& problem);

}  // namespace intra::key_expr
