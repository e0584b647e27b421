#include "storage/key_expression_lexer.h"

#include <cstdio>

namespace intra::key_expr {
namespace {

bool is_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
char to_upper_ascii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string column(std::size_t index) { return std::to_string(index + 1); }

// A byte as a message shows it: printable ASCII as itself, others in hex,
// so a message about binary garbage stays one readable line.
std::string describe_character(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= 0x21 && byte < 0x7F) return std::string("character ") + c;
  char hex[16];
  std::snprintf(hex, sizeof hex, "byte 0x%02X", byte);
  return hex;
}

class Lexer {
 public:
  Lexer(std::string_view source, std::vector<Token>& tokens, std::string& problem)
      : source_(source), tokens_(tokens), problem_(problem) {}

  bool run() {
    while (true) {
      while (at_ < source_.size() && is_blank(source_[at_])) ++at_;
      if (at_ >= source_.size()) {
        add(TokenKind::End, at_, {});
        return true;
      }
      if (!next_token()) return false;
    }
  }

 private:
  bool next_token() {
    const std::size_t start = at_;
    const char c = source_[at_];
    if (is_letter(c)) return identifier(start);
    if (is_digit(c) || (c == '.' && at_ + 1 < source_.size() && is_digit(source_[at_ + 1]))) return number(start);
    if (c == '"' || c == '\'') return quoted(start, c);
    if (c == '.') return dotted_word(start);
    return symbol(start, c);
  }

  bool identifier(std::size_t start) {
    std::string name;
    while (at_ < source_.size() && (is_letter(source_[at_]) || is_digit(source_[at_])))
      name += to_upper_ascii(source_[at_++]);
    add(TokenKind::Identifier, start, std::move(name));
    return true;
  }

  bool number(std::size_t start) {
    while (at_ < source_.size() && is_digit(source_[at_])) ++at_;
    if (at_ + 1 < source_.size() && source_[at_] == '.' && is_digit(source_[at_ + 1])) {
      ++at_;
      while (at_ < source_.size() && is_digit(source_[at_])) ++at_;
    }
    add(TokenKind::Number, start, std::string(source_.substr(start, at_ - start)));
    return true;
  }

  bool quoted(std::size_t start, char quote) {
    const std::size_t closing = source_.find(quote, start + 1);
    if (closing == std::string_view::npos)
      return fail("string without its closing quote at " + column(start));
    add(TokenKind::Text, start, std::string(source_.substr(start + 1, closing - start - 1)));
    at_ = closing + 1;
    return true;
  }

  // .T. .F. .Y. .N. .AND. .OR. .NOT.
  bool dotted_word(std::size_t start) {
    std::size_t end = start + 1;
    std::string word;
    while (end < source_.size() && is_letter(source_[end])) word += to_upper_ascii(source_[end++]);
    if (end >= source_.size() || source_[end] != '.' || word.empty())
      return fail("unexpected character . at " + column(start));
    TokenKind kind;
    if (word == "T" || word == "Y") kind = TokenKind::True;
    else if (word == "F" || word == "N") kind = TokenKind::False;
    else if (word == "AND") kind = TokenKind::And;
    else if (word == "OR") kind = TokenKind::Or;
    else if (word == "NOT") kind = TokenKind::Not;
    else return fail("unknown operator ." + word + ". at " + column(start));
    add(kind, start, {});
    at_ = end + 1;
    return true;
  }

  bool symbol(std::size_t start, char c) {
    const char next = at_ + 1 < source_.size() ? source_[at_ + 1] : '\0';
    auto take = [&](TokenKind kind, std::size_t length) {
      add(kind, start, {});
      at_ += length;
      return true;
    };
    switch (c) {
      case '+': return take(TokenKind::Plus, 1);
      case '-': return next == '>' ? take(TokenKind::Arrow, 2) : take(TokenKind::Minus, 1);
      case '=': return next == '=' ? take(TokenKind::ExactEqual, 2) : take(TokenKind::Equal, 1);
      case '#': return take(TokenKind::NotEqual, 1);
      case '!': return next == '=' ? take(TokenKind::NotEqual, 2) : take(TokenKind::Not, 1);
      case '<':
        if (next == '>') return take(TokenKind::NotEqual, 2);
        return next == '=' ? take(TokenKind::LessEqual, 2) : take(TokenKind::Less, 1);
      case '>': return next == '=' ? take(TokenKind::GreaterEqual, 2) : take(TokenKind::Greater, 1);
      case '(': return take(TokenKind::LeftParen, 1);
      case ')': return take(TokenKind::RightParen, 1);
      case ',': return take(TokenKind::Comma, 1);
      default: return fail("unexpected " + describe_character(c) + " at " + column(start));
    }
  }

  void add(TokenKind kind, std::size_t start, std::string text) {
    tokens_.push_back(Token{kind, static_cast<int>(start + 1), std::move(text)});
  }

  bool fail(std::string problem) {
    problem_ = std::move(problem);
    return false;
  }

  std::string_view source_;
  std::size_t at_ = 0;
  std::vector<Token>& tokens_;
  std::string& problem_;
};

}  // namespace

bool tokenize(std::string_view source, std::vector<Token>& tokens, std::string& problem) {
  tokens.clear();
  return Lexer(source, tokens, problem).run();
}

std::string describe_token(const Token& token) {
  switch (token.kind) {
    case TokenKind::End: return "end of the expression";
    case TokenKind::Identifier: return token.text;
    case TokenKind::Text: return "string";
    case TokenKind::Number: return token.text;
    case TokenKind::True: return ".T.";
    case TokenKind::False: return ".F.";
    case TokenKind::Plus: return "+";
    case TokenKind::Minus: return "-";
    case TokenKind::Equal: return "=";
    case TokenKind::ExactEqual: return "==";
    case TokenKind::NotEqual: return "<>";
    case TokenKind::Less: return "<";
    case TokenKind::LessEqual: return "<=";
    case TokenKind::Greater: return ">";
    case TokenKind::GreaterEqual: return ">=";
    case TokenKind::LeftParen: return "(";
    case TokenKind::RightParen: return ")";
    case TokenKind::Comma: return ",";
    case TokenKind::Arrow: return "->";
    case TokenKind::Not: return ".NOT.";
    case TokenKind::And: return ".AND.";
    case TokenKind::Or: return ".OR.";
  }
  return "?";
}

}  // namespace intra::key_expr
