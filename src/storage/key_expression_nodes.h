#pragma once
// The compiled form of a key text: a tree of operations, each knowing its
// column in the text (for fault messages), the numeric layout its numeric
// results carry and its depth (the parser bounds it, so neither evaluation
// nor destruction can exhaust the stack).
#include <memory>
#include <string>
#include <vector>

#include "storage/key_expression.h"

namespace intra::key_expr {

// The state of one evaluation.
struct Evaluation {
  ExpressionContext& ctx;
  EvaluationFault& fault;
  // Keeps the first fault: later ones are usually its consequences.
  void fail(const char* problem, int position) {
    if (fault.ok()) fault = EvaluationFault{problem, position};
  }
};

class Node;
using NodePtr = std::unique_ptr<Node>;

class Node {
 public:
  Node(int position, NumericLayout layout, int depth) : position_(position), layout_(layout), depth_(depth) {}
  virtual ~Node() = default;
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;

  virtual Value evaluate(Evaluation& e) const = 0;

  int position() const { return position_; }
  NumericLayout layout() const { return layout_; }
  int depth() const { return depth_; }

 private:
  int position_;
  NumericLayout layout_;
  int depth_;
};

// The layout of a sum: as many integer places as the wider operand and as
// many decimals as the more precise one.
NumericLayout wider_layout(NumericLayout a, NumericLayout b);
// The layout a number written in the text carries: 10 integer places (more
// when it has more digits), its own decimals.
NumericLayout literal_layout(std::string_view literal);

class ConstantNode final : public Node {
 public:
  ConstantNode(int position, Value value, NumericLayout layout);
  Value evaluate(Evaluation& e) const override;

 private:
  Value value_;
};

class FieldNode final : public Node {
 public:
  FieldNode(int position, int field, NumericLayout layout);
  Value evaluate(Evaluation& e) const override;

 private:
  int field_;
};

// a + b - c ...: one node for a whole run of + and -, so that a long
// concatenation is built in one buffer and nests no deeper than one level.
class AdditiveChainNode final : public Node {
 public:
  struct Operand {
    bool subtract;  // ignored for the first operand
    int position;   // column of the operator (of the operand for the first)
    NodePtr node;
  };
  AdditiveChainNode(int position, std::vector<Operand> operands);
  Value evaluate(Evaluation& e) const override;

 private:
  Value join_texts(const std::string& first, Evaluation& e) const;
  Value add_numbers_and_dates(const Value& first, Evaluation& e) const;

  std::vector<Operand> operands_;
  mutable std::string buffer_;  // reused by every evaluation: its capacity stays
};

enum class Comparison { Equal, ExactEqual, NotEqual, Less, LessEqual, Greater, GreaterEqual };

class ComparisonNode final : public Node {
 public:
  ComparisonNode(int position, Comparison comparison, NodePtr left, NodePtr right);
  Value evaluate(Evaluation& e) const override;

 private:
  Comparison comparison_;
  NodePtr left_;
  NodePtr right_;
};

// a .AND. b .AND. c, or the same with .OR.; stops at the first operand that
// decides the result.
class LogicalChainNode final : public Node {
 public:
  LogicalChainNode(int position, bool conjunction, std::vector<NodePtr> operands);
  Value evaluate(Evaluation& e) const override;

 private:
  bool conjunction_;
  std::vector<NodePtr> operands_;
};

class NotNode final : public Node {
 public:
  NotNode(int position, NodePtr operand);
  Value evaluate(Evaluation& e) const override;

 private:
  NodePtr operand_;
};

class NegateNode final : public Node {
 public:
  NegateNode(int position, NodePtr operand);
  Value evaluate(Evaluation& e) const override;

 private:
  NodePtr operand_;
};

// IIF(condition, a, b): only the chosen branch is evaluated.
class ConditionalNode final : public Node {
 public:
  ConditionalNode(int position, NodePtr condition, NodePtr when_true, NodePtr when_false);
  Value evaluate(Evaluation& e) const override;

 private:
  NodePtr condition_;
  NodePtr when_true_;
  NodePtr when_false_;
};

class CallNode;
// A function's work on its evaluated arguments (count within its arity).
using FunctionBody = Value (*)(const Value* arguments, int count, const CallNode& call, Evaluation& e);

class CallNode final : public Node {
 public:
  static constexpr int kMaxArguments = 3;
  CallNode(int position, const char* name, FunctionBody body, NumericLayout layout,
           std::vector<NodePtr> arguments);
  Value evaluate(Evaluation& e) const override;

  const char* name() const { return name_; }
  const Node& argument(int index) const { return *arguments_[static_cast<std::size_t>(index)]; }

 private:
  const char* name_;
  FunctionBody body_;
  std::vector<NodePtr> arguments_;
};

}  // namespace intra::key_expr
