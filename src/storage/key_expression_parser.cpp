#include "storage/key_expression_parser.h"

#include <algorithm>
#include <vector>

#include "storage/field_codec.h"
#include "storage/key_expression_functions.h"
#include "storage/key_expression_lexer.h"

namespace intra::key_expr {
namespace {

// Table field names have at most 10 significant characters; a longer name in
// a key text means the field those 10 characters name.
constexpr std::size_t kSignificantNameLength = 10;
constexpr int kWidestField = 255;

std::string at(int position) { return " at " + std::to_string(position); }

bool is_comparison(TokenKind kind, Comparison& comparison) {
  switch (kind) {
    case TokenKind::Equal: comparison = Comparison::Equal; return true;
    case TokenKind::ExactEqual: comparison = Comparison::ExactEqual; return true;
    case TokenKind::NotEqual: comparison = Comparison::NotEqual; return true;
    case TokenKind::Less: comparison = Comparison::Less; return true;
    case TokenKind::LessEqual: comparison = Comparison::LessEqual; return true;
    case TokenKind::Greater: comparison = Comparison::Greater; return true;
    case TokenKind::GreaterEqual: comparison = Comparison::GreaterEqual; return true;
    default: return false;
  }
}

// Recursive descent, one function per precedence level. Every function
// returns null once a problem is recorded, and callers pass the null up, so
// the first problem found is the one reported.
class Parser {
 public:
  Parser(const std::vector<Token>& tokens, ExpressionContext& ctx) : tokens_(tokens), ctx_(ctx) {}

  NodePtr parse_all() {
    if (peek().kind == TokenKind::End) return fail("the key text is empty");
    NodePtr root = parse_or();
    if (!root) return nullptr;
    if (peek().kind != TokenKind::End) return unexpected(peek());
    return root;
  }

  const std::string& problem() const { return problem_; }

 private:
  // One level of nesting (a parenthesis, a function's arguments, a repeated
  // prefix operator) for as long as it lives.
  class NestingLevel {
   public:
    NestingLevel(Parser& parser, int position) : parser_(parser) {
      ok_ = ++parser_.nesting_ <= kMaxNesting;
      if (!ok_) parser_.too_deep(position);
    }
    ~NestingLevel() { --parser_.nesting_; }
    NestingLevel(const NestingLevel&) = delete;
    NestingLevel& operator=(const NestingLevel&) = delete;
    bool ok() const { return ok_; }

   private:
    Parser& parser_;
    bool ok_;
  };

  NodePtr parse_or() {
    NestingLevel level(*this, peek().position);
    if (!level.ok()) return nullptr;
    return parse_logical_chain(TokenKind::Or);
  }

  // `a .OR. b .OR. c` and `a .AND. b`: one node per run of the operator.
  NodePtr parse_logical_chain(TokenKind op) {
    const bool conjunction = op == TokenKind::And;
    NodePtr first = conjunction ? parse_not() : parse_logical_chain(TokenKind::And);
    if (!first || peek().kind != op) return first;
    const int position = peek().position;
    std::vector<NodePtr> operands;
    operands.push_back(std::move(first));
    while (accept(op)) {
      NodePtr next = conjunction ? parse_not() : parse_logical_chain(TokenKind::And);
      if (!next) return nullptr;
      operands.push_back(std::move(next));
    }
    return bounded(std::make_unique<LogicalChainNode>(position, conjunction, std::move(operands)));
  }

  NodePtr parse_not() {
    if (peek().kind != TokenKind::Not) return parse_comparison();
    const int position = take().position;
    NestingLevel level(*this, position);
    if (!level.ok()) return nullptr;
    NodePtr operand = parse_not();
    if (!operand) return nullptr;
    return bounded(std::make_unique<NotNode>(position, std::move(operand)));
  }

  NodePtr parse_comparison() {
    NodePtr left = parse_additive();
    Comparison comparison{};
    while (left && is_comparison(peek().kind, comparison)) {
      const int position = take().position;
      NodePtr right = parse_additive();
      if (!right) return nullptr;
      left = bounded(std::make_unique<ComparisonNode>(position, comparison, std::move(left), std::move(right)));
    }
    return left;
  }

  NodePtr parse_additive() {
    NodePtr first = parse_unary();
    if (!first || (peek().kind != TokenKind::Plus && peek().kind != TokenKind::Minus)) return first;
    const int chain_position = peek().position;
    std::vector<AdditiveChainNode::Operand> operands;
    const int first_position = first->position();
    operands.push_back({false, first_position, std::move(first)});
    while (peek().kind == TokenKind::Plus || peek().kind == TokenKind::Minus) {
      const Token& op = take();
      NodePtr next = parse_unary();
      if (!next) return nullptr;
      operands.push_back({op.kind == TokenKind::Minus, op.position, std::move(next)});
    }
    return bounded(std::make_unique<AdditiveChainNode>(chain_position, std::move(operands)));
  }

  NodePtr parse_unary() {
    const TokenKind kind = peek().kind;
    if (kind != TokenKind::Minus && kind != TokenKind::Plus) return parse_primary();
    const int position = take().position;
    NestingLevel level(*this, position);
    if (!level.ok()) return nullptr;
    NodePtr operand = parse_unary();
    if (!operand || kind == TokenKind::Plus) return operand;
    return bounded(std::make_unique<NegateNode>(position, std::move(operand)));
  }

  NodePtr parse_primary() {
    const Token& token = peek();
    switch (token.kind) {
      case TokenKind::Number:
        take();
        return std::make_unique<ConstantNode>(token.position, Value(parse_number(token.text)),
                                              literal_layout(token.text));
      case TokenKind::Text:
        take();
        return std::make_unique<ConstantNode>(token.position, Value(token.text), NumericLayout{});
      case TokenKind::True:
      case TokenKind::False:
        take();
        return std::make_unique<ConstantNode>(token.position, Value(token.kind == TokenKind::True), NumericLayout{});
      case TokenKind::LeftParen: return parse_group();
      case TokenKind::Identifier:
        if (peek(1).kind == TokenKind::LeftParen) return parse_call();
        return parse_field();
      case TokenKind::End:
        if (!open_parens_.empty()) return fail("unbalanced parenthesis" + at(open_parens_.back()));
        return fail("missing operand after " + describe_token(previous()) + at(previous().position));
      default: return unexpected(token);
    }
  }

  NodePtr parse_group() {
    const int open = take().position;
    open_parens_.push_back(open);
    NodePtr inner = parse_or();
    if (!inner || !close_paren(open)) return nullptr;
    return inner;
  }

  NodePtr parse_call() {
    const Token& name = take();
    const int open = take().position;
    std::string problem;
    const FunctionInfo* function = find_function(name.text, problem);
    if (!function) return fail(problem);
    open_parens_.push_back(open);
    std::vector<NodePtr> arguments;
    if (!accept(TokenKind::RightParen)) {
      while (true) {
        if (peek().kind == TokenKind::Comma || peek().kind == TokenKind::RightParen)
          return fail(std::string("missing argument of ") + function->name + at(peek().position));
        if (static_cast<int>(arguments.size()) == function->max_arguments) return wrong_arity(*function, name);
        NodePtr argument = parse_or();
        if (!argument) return nullptr;
        arguments.push_back(std::move(argument));
        if (accept(TokenKind::Comma)) continue;
        if (!close_paren(open)) return nullptr;
        break;
      }
    } else {
      open_parens_.pop_back();
    }
    if (static_cast<int>(arguments.size()) < function->min_arguments) return wrong_arity(*function, name);
    if (function->kind == FunctionInfo::Kind::Conditional)
      return bounded(std::make_unique<ConditionalNode>(name.position, std::move(arguments[0]), std::move(arguments[1]),
                                                       std::move(arguments[2])));
    const NumericLayout layout = result_layout(*function, arguments);
    return bounded(
        std::make_unique<CallNode>(name.position, function->name, function->body, layout, std::move(arguments)));
  }

  NodePtr parse_field() {
    const Token& first = take();
    std::string alias;
    const Token* name = &first;
    if (accept(TokenKind::Arrow)) {
      if (peek().kind == TokenKind::LeftParen)
        return fail("alias->(expression) is not supported in key texts" + at(peek().position));
      if (peek().kind != TokenKind::Identifier)
        return fail("field name expected after " + first.text + "->" + at(peek().position));
      alias = first.text;
      name = &take();
    }
    int field = ctx_.resolve_field(alias, name->text);
    if (field < 0 && name->text.size() > kSignificantNameLength)
      field = ctx_.resolve_field(alias, std::string_view(name->text).substr(0, kSignificantNameLength));
    if (field < 0) return fail("unknown field " + (alias.empty() ? "" : alias + "->") + name->text);
    NumericLayout layout = ctx_.field_layout(field);
    layout.width = std::clamp(layout.width, 1, kWidestField);
    layout.decimals = std::clamp(layout.decimals, 0, layout.width);
    return std::make_unique<FieldNode>(first.position, field, layout);
  }

  bool close_paren(int open) {
    if (accept(TokenKind::RightParen)) {
      open_parens_.pop_back();
      return true;
    }
    if (peek().kind == TokenKind::End) fail("unbalanced parenthesis" + at(open));
    else fail("expected ) but found " + describe_token(peek()) + at(peek().position));
    return false;
  }

  NodePtr wrong_arity(const FunctionInfo& function, const Token& name) {
    const int lo = function.min_arguments;
    const int hi = function.max_arguments;
    std::string takes = hi == 0   ? "no arguments"
                        : lo == hi ? std::to_string(lo) + (lo == 1 ? " argument" : " arguments")
                                   : std::to_string(lo) + " to " + std::to_string(hi) + " arguments";
    return fail(std::string(function.name) + " takes " + takes + at(name.position));
  }

  NodePtr unexpected(const Token& token) {
    if (token.kind == TokenKind::RightParen && open_parens_.empty())
      return fail("unbalanced parenthesis" + at(token.position));
    return fail("unexpected " + describe_token(token) + at(token.position));
  }

  // Chains of comparisons grow the tree without nesting in the text; the
  // depth bound holds for the tree too.
  NodePtr bounded(NodePtr node) {
    if (node->depth() > kMaxNesting) {
      too_deep(node->position());
      return nullptr;
    }
    return node;
  }

  void too_deep(int position) {
    fail("expression nested deeper than " + std::to_string(kMaxNesting) + " levels" + at(position));
  }

  NodePtr fail(std::string problem) {
    if (problem_.empty()) problem_ = std::move(problem);
    return nullptr;
  }

  const Token& peek(std::size_t ahead = 0) const {
    return tokens_[std::min(at_ + ahead, tokens_.size() - 1)];
  }
  const Token& previous() const { return tokens_[at_ == 0 ? 0 : at_ - 1]; }
  const Token& take() {
    const Token& token = tokens_[at_];
    if (at_ + 1 < tokens_.size()) ++at_;  // End is never passed
    return token;
  }
  bool accept(TokenKind kind) {
    if (peek().kind != kind) return false;
    take();
    return true;
  }

  const std::vector<Token>& tokens_;
  ExpressionContext& ctx_;
  std::size_t at_ = 0;
  int nesting_ = 0;
  std::vector<int> open_parens_;
  std::string problem_;
};

}  // namespace

NodePtr parse_key_text(std::string_view text, ExpressionContext& ctx, std::string& problem) {
  std::vector<Token> tokens;
  if (!tokenize(text, tokens, problem)) return nullptr;
  Parser parser(tokens, ctx);
  NodePtr root = parser.parse_all();
  if (!root) problem = parser.problem();
  return root;
}

}  // namespace intra::key_expr
