#include "storage/key_expression.h"

#include "storage/key_expression_nodes.h"
#include "storage/key_expression_parser.h"

namespace intra {
namespace {

// Messages quote the key text; garbage read from a damaged header may be
// long or binary, so the quote is cut and control bytes are shown as '?'.
constexpr std::size_t kLongestQuote = 80;

std::string quoted_key(std::string_view text) {
  if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) return {};  // "the key text is empty" says it all
  std::string shown(text.substr(0, kLongestQuote));
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  if (text.size() > kLongestQuote) shown += "...";
  return " in key " + shown;
}

}  // namespace

KeyExpression::KeyExpression(std::string text, std::unique_ptr<key_expr::Node> root)
    : text_(std::move(text)), root_(std::move(root)) {}

KeyExpression::~KeyExpression() = default;

std::unique_ptr<KeyExpression> KeyExpression::compile(std::string_view text, ExpressionContext& ctx,
                                                      std::string& problem) {
  std::string why;
  key_expr::NodePtr root = key_expr::parse_key_text(text, ctx, why);
  if (!root) {
    problem = why + quoted_key(text);
    return nullptr;
  }
  return std::unique_ptr<KeyExpression>(new KeyExpression(std::string(text), std::move(root)));
}

Value KeyExpression::evaluate(ExpressionContext& ctx, EvaluationFault& fault) const {
  key_expr::Evaluation evaluation{ctx, fault};
  return root_->evaluate(evaluation);
}

Value KeyExpression::evaluate(ExpressionContext& ctx) const {
  EvaluationFault ignored;
  return evaluate(ctx, ignored);
}

std::string KeyExpression::describe(const EvaluationFault& fault) const {
  if (fault.ok()) return {};
  return std::string(fault.problem) + " at " + std::to_string(fault.position) + quoted_key(text_);
}

NumericLayout KeyExpression::numeric_layout() const { return root_->layout(); }

}  // namespace intra
