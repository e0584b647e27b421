#pragma once
// Tokens of an index key text. The lexer knows every symbol of the key
// language and refuses anything else at once, so the parser never meets a
// character it has no rule for.
#include <string>
#include <string_view>
#include <vector>

namespace intra::key_expr {

enum class TokenKind {
  End,
  Identifier,  // text: the name in capitals
  Text,        // text: the contents between the quotes
  Number,      // text: the literal as written
  True,
  False,
  Plus,
  Minus,
  Equal,       // =
  ExactEqual,  // ==
  NotEqual,    // <> # !=
  Less,
  LessEqual,
  Greater,
  GreaterEqual,
  LeftParen,
  RightParen,
  Comma,
  Arrow,  // ->
  Not,    // ! .NOT.
  And,    // .AND.
  Or,     // .OR.
};

struct Token {
  TokenKind kind = TokenKind::End;
  int position = 0;  // 1-based column of the first character
  std::string text;
};

// Splits `source` into tokens, the last one End. False and `problem` (with
// the column) on a character the language has no use for, an unknown dotted
// word or a string without its closing quote.
bool tokenize(std::string_view source, std::vector<Token>& tokens, std::string& problem);

// How a token reads in a message: the symbol, or "end of the expression".
std::string describe_token(const Token& token);

}  // namespace intra::key_expr
