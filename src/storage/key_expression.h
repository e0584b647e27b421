#pragma once
// The xBase expressions an index file stores as the text of its key (and of
// its condition). Every program that opens the index evaluates the same text
// on each record, so this compiler must read every text the system writes
// and give, byte for byte, the value the other programs give.
//
// A text is compiled once into a tree, with every field resolved to the
// context's field index; evaluating it does no parsing and no lookup, and
// allocates only the strings of text results.
//
// The language:
//   operands   field, alias->field (any case, blanks allowed around ->),
//              "text" or 'text', 12 / 1.5 / .5, .T. .F. (.Y. .N.),
//              RECNO() and the functions below, ( ... )
//   + -        text: concatenation; a - b moves the trailing blanks of a to
//              the end of the result. Numbers: sum and difference. Dates:
//              date + n, n + date, date - n, date - date (days)
//   = <> # !=  comparison with exact off: text b equals a when b is a prefix
//   < <= > >=  of a (so always for an empty b); == compares exactly
//   .NOT. !  .AND.  .OR.   (both short-circuit)
//   functions  DTOS DESCEND STR UPPER SUBSTR IIF (IF) RECNO LEFT RIGHT TRIM
//              RTRIM LTRIM ALLTRIM VAL; names in any case, abbreviated to
//              four or more letters when that leaves one function
// Precedence, loosest first: .OR., .AND., .NOT., comparisons, + -, unary -.
// Field names are significant to 10 characters, as in the table header.
#include <memory>
#include <string>
#include <string_view>

#include "main/value.h"

namespace intra {

// The width and decimals a number carries, counted as a numeric table field
// counts them: width is every character of the text (sign, digits, point
// and decimals), so a field N 15,2 carries {15, 2}. A numeric key is as wide
// as the layout of its expression; STR(n) without a width uses it.
struct NumericLayout {
  int width = 10;
  int decimals = 0;
  friend bool operator==(const NumericLayout&, const NumericLayout&) = default;
};

// What an expression reads: fields of the current record (optionally
// alias->field) and the record number.
class ExpressionContext {
 public:
  virtual ~ExpressionContext() = default;
  // Index of a field by its upper-case name for an upper-case alias ("" =
  // the current table), asked once at compile time; -1 when unknown.
  virtual int resolve_field(std::string_view alias, std::string_view name) = 0;
  // Width and decimals of a resolved field, asked once at compile time: what
  // a numeric field's values carry into sums and keys. Non-numeric fields
  // may answer anything; it is never used for their values.
  virtual NumericLayout field_layout(int resolved) = 0;
  virtual Value field(int resolved) = 0;  // the field's value on the current record
  virtual double record_number() = 0;
};

// Why an evaluation went wrong: an operation met a value of a type it cannot
// take (UPPER of a number, text + number, IIF on a text condition). The first
// fault of an evaluation is kept; the failing operation yields the empty
// value of its result type and the evaluation runs to its end, so the result
// is still well-formed but is not the key another program would compute.
struct EvaluationFault {
  const char* problem = nullptr;  // static text, e.g. "text joined with a non-text value"
  int position = 0;               // 1-based column of the failing operation in the text
  bool ok() const { return problem == nullptr; }
};

namespace key_expr {
class Node;
}

class KeyExpression {
 public:
  // Compiles `text`. On failure: nullptr, and `problem` names the key text
  // and what is wrong with it ("unknown field XYZ in key UPPER(XYZ)",
  // "unbalanced parenthesis at 6 in key UPPER(").
  static std::unique_ptr<KeyExpression> compile(std::string_view text, ExpressionContext& ctx,
                                                std::string& problem);
  ~KeyExpression();
  KeyExpression(const KeyExpression&) = delete;
  KeyExpression& operator=(const KeyExpression&) = delete;

  // The value on the context's current record. A type fault is reported
  // through `fault` (left untouched when the evaluation is clean); the
  // overload without it ignores faults. One compiled expression is evaluated
  // by one thread at a time (it keeps scratch buffers between evaluations).
  Value evaluate(ExpressionContext& ctx, EvaluationFault& fault) const;
  Value evaluate(ExpressionContext& ctx) const;

  // "text joined with a non-text value at 5 in key mag+ilosc"
  std::string describe(const EvaluationFault& fault) const;

  // What numeric results of this expression carry (meaningful only when it
  // yields a number): the layout of the fields they come from, the wider of
  // the two for + and -; 10 wide with no decimals for values of no field.
  NumericLayout numeric_layout() const;

  const std::string& text() const { return text_; }

 private:
  KeyExpression(std::string text, std::unique_ptr<key_expr::Node> root);

  std::string text_;
  std::unique_ptr<key_expr::Node> root_;
};

}  // namespace intra
