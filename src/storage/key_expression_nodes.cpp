#include "storage/key_expression_nodes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "main/text_comparison.h"

namespace intra::key_expr {
namespace {

int deepest(const std::vector<NodePtr>& nodes) {
  int depth = 0;
  for (const NodePtr& node : nodes) depth = std::max(depth, node->depth());
  return depth;
}

int integer_places(NumericLayout layout) {
  return layout.decimals > 0 ? layout.width - layout.decimals - 1 : layout.width;
}

NumericLayout chain_layout(const std::vector<AdditiveChainNode::Operand>& operands) {
  NumericLayout layout = operands.front().node->layout();
  for (std::size_t i = 1; i < operands.size(); ++i) layout = wider_layout(layout, operands[i].node->layout());
  return layout;
}

int chain_depth(const std::vector<AdditiveChainNode::Operand>& operands) {
  int depth = 0;
  for (const auto& operand : operands) depth = std::max(depth, operand.node->depth());
  return depth + 1;
}

// Days to move a date by: the whole part of the number, bounded so that no
// sum of day numbers can overflow (the bound is far beyond any real date).
std::int64_t whole_days(double n) {
  if (!std::isfinite(n)) return 0;
  return static_cast<std::int64_t>(std::clamp(n, -1.0e7, 1.0e7));
}

Date moved(Date date, std::int64_t days) {
  if (date.empty()) return date;
  const std::int64_t day = std::clamp<std::int64_t>(date.day_number() + days, 0, 10'000'000);
  return Date::from_day_number(static_cast<std::int32_t>(day));
}

template <typename T>
int three_way(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

bool holds(Comparison comparison, int order) {
  switch (comparison) {
    case Comparison::Equal:
    case Comparison::ExactEqual: return order == 0;
    case Comparison::NotEqual: return order != 0;
    case Comparison::Less: return order < 0;
    case Comparison::LessEqual: return order <= 0;
    case Comparison::Greater: return order > 0;
    case Comparison::GreaterEqual: return order >= 0;
  }
  return false;
}

}  // namespace

NumericLayout wider_layout(NumericLayout a, NumericLayout b) {
  const int decimals = std::max(a.decimals, b.decimals);
  const int places = std::max(integer_places(a), integer_places(b));
  return NumericLayout{places + (decimals > 0 ? decimals + 1 : 0), decimals};
}

NumericLayout literal_layout(std::string_view literal) {
  const std::size_t point = literal.find('.');
  const int places = static_cast<int>(point == std::string_view::npos ? literal.size() : point);
  const int decimals = point == std::string_view::npos ? 0 : static_cast<int>(literal.size() - point - 1);
  return NumericLayout{std::max(places, 10) + (decimals > 0 ? decimals + 1 : 0), decimals};
}

ConstantNode::ConstantNode(int position, Value value, NumericLayout layout)
    : Node(position, layout, 1), value_(std::move(value)) {}

Value ConstantNode::evaluate(Evaluation&) const { return value_; }

FieldNode::FieldNode(int position, int field, NumericLayout layout) : Node(position, layout, 1), field_(field) {}

Value FieldNode::evaluate(Evaluation& e) const { return e.ctx.field(field_); }

AdditiveChainNode::AdditiveChainNode(int position, std::vector<Operand> operands)
    : Node(position, chain_layout(operands), chain_depth(operands)), operands_(std::move(operands)) {}

Value AdditiveChainNode::evaluate(Evaluation& e) const {
  const Value first = operands_.front().node->evaluate(e);
  switch (first.type()) {
    case ValueType::Text: return join_texts(first.text(), e);
    case ValueType::Number:
    case ValueType::Date: return add_numbers_and_dates(first, e);
    default:
      e.fail("+ and - take text, numbers or dates", operands_[1].position);
      return first;
  }
}

Value AdditiveChainNode::join_texts(const std::string& first, Evaluation& e) const {
  buffer_.assign(first);
  for (std::size_t i = 1; i < operands_.size(); ++i) {
    const Operand& operand = operands_[i];
    const Value v = operand.node->evaluate(e);
    if (!v.is_text()) {
      e.fail("text joined with a value that is not text", operand.position);
      continue;
    }
    if (!operand.subtract) {
      buffer_ += v.text();
      continue;
    }
    // a - b: the blanks that end a go after b, so the result keeps the
    // combined length and the texts read together.
    const std::size_t kept = buffer_.find_last_not_of(' ') + 1;  // npos + 1 == 0: all blanks
    const std::size_t blanks = buffer_.size() - kept;
    buffer_.resize(kept);
    buffer_ += v.text();
    buffer_.append(blanks, ' ');
  }
  return Value(std::string_view(buffer_));
}

Value AdditiveChainNode::add_numbers_and_dates(const Value& first, Evaluation& e) const {
  bool is_date = first.is_date();
  double number = first.number();
  Date date = first.date();
  for (std::size_t i = 1; i < operands_.size(); ++i) {
    const Operand& operand = operands_[i];
    const Value v = operand.node->evaluate(e);
    if (!is_date && v.is_number()) {
      number = operand.subtract ? number - v.number() : number + v.number();
    } else if (!is_date && v.is_date() && !operand.subtract) {
      date = moved(v.date(), whole_days(number));
      is_date = true;
    } else if (is_date && v.is_number()) {
      const std::int64_t days = whole_days(v.number());
      date = moved(date, operand.subtract ? -days : days);
    } else if (is_date && v.is_date() && operand.subtract) {
      number = static_cast<double>(date.day_number() - v.date().day_number());
      is_date = false;
    } else {
      e.fail(operand.subtract ? "- of values that cannot be subtracted" : "+ of values that cannot be added",
             operand.position);
    }
  }
  return is_date ? Value(date) : Value(number);
}

ComparisonNode::ComparisonNode(int position, Comparison comparison, NodePtr left, NodePtr right)
    : Node(position, NumericLayout{}, 1 + std::max(left->depth(), right->depth())),
      comparison_(comparison),
      left_(std::move(left)),
      right_(std::move(right)) {}

Value ComparisonNode::evaluate(Evaluation& e) const {
  const Value a = left_->evaluate(e);
  const Value b = right_->evaluate(e);
  if (a.type() != b.type()) {
    e.fail("comparison of values of different types", position());
    return Value(false);
  }
  int order = 0;
  switch (a.type()) {
    case ValueType::Text: order = compare_texts(a.text(), b.text(), comparison_ == Comparison::ExactEqual); break;
    case ValueType::Number: order = three_way(a.number(), b.number()); break;
    case ValueType::Date: order = three_way(a.date().day_number(), b.date().day_number()); break;
    case ValueType::Logical: order = three_way(a.logical(), b.logical()); break;
    case ValueType::List:
      e.fail("comparison of values that cannot be compared", position());
      return Value(false);
  }
  return Value(holds(comparison_, order));
}

LogicalChainNode::LogicalChainNode(int position, bool conjunction, std::vector<NodePtr> operands)
    : Node(position, NumericLayout{}, 1 + deepest(operands)), conjunction_(conjunction), operands_(std::move(operands)) {}

Value LogicalChainNode::evaluate(Evaluation& e) const {
  for (const NodePtr& operand : operands_) {
    const Value v = operand->evaluate(e);
    if (!v.is_logical()) {
      e.fail(conjunction_ ? ".AND. takes logical values" : ".OR. takes logical values", operand->position());
      return Value(false);
    }
    // .AND. is decided by the first false, .OR. by the first true.
    if (v.logical() != conjunction_) return Value(!conjunction_);
  }
  return Value(conjunction_);
}

NotNode::NotNode(int position, NodePtr operand)
    : Node(position, NumericLayout{}, 1 + operand->depth()), operand_(std::move(operand)) {}

Value NotNode::evaluate(Evaluation& e) const {
  const Value v = operand_->evaluate(e);
  if (!v.is_logical()) {
    e.fail(".NOT. takes a logical value", position());
    return Value(false);
  }
  return Value(!v.logical());
}

NegateNode::NegateNode(int position, NodePtr operand)
    : Node(position, operand->layout(), 1 + operand->depth()), operand_(std::move(operand)) {}

Value NegateNode::evaluate(Evaluation& e) const {
  const Value v = operand_->evaluate(e);
  if (!v.is_number()) {
    e.fail("unary minus takes a number", position());
    return Value(0.0);
  }
  return Value(v.number() == 0 ? 0.0 : -v.number());
}

ConditionalNode::ConditionalNode(int position, NodePtr condition, NodePtr when_true, NodePtr when_false)
    : Node(position, wider_layout(when_true->layout(), when_false->layout()),
           1 + std::max({condition->depth(), when_true->depth(), when_false->depth()})),
      condition_(std::move(condition)),
      when_true_(std::move(when_true)),
      when_false_(std::move(when_false)) {}

Value ConditionalNode::evaluate(Evaluation& e) const {
  const Value condition = condition_->evaluate(e);
  if (!condition.is_logical()) e.fail("IIF takes a logical condition", position());
  return condition.logical() ? when_true_->evaluate(e) : when_false_->evaluate(e);
}

CallNode::CallNode(int position, const char* name, FunctionBody body, NumericLayout layout,
                   std::vector<NodePtr> arguments)
    : Node(position, layout, 1 + deepest(arguments)), name_(name), body_(body), arguments_(std::move(arguments)) {}

Value CallNode::evaluate(Evaluation& e) const {
  Value values[kMaxArguments];
  const int count = static_cast<int>(arguments_.size());
  for (int i = 0; i < count; ++i) values[i] = arguments_[static_cast<std::size_t>(i)]->evaluate(e);
  return body_(values, count, *this, e);
}

}  // namespace intra::key_expr
