#include "screen/picture.h"

#include "screen/cp852.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>

namespace intra {
namespace {

constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }

constexpr int kNumberIntegerWidth = 10;  // a number without picture, as STR() shows it
constexpr int kMaxDecimals = 9;

// The fewest decimals that show the number without losing anything.
int decimals_of(double number) {
  const double magnitude = std::max(1.0, std::fabs(number));
  double scale = 1.0;
  for (int d = 0; d < kMaxDecimals; ++d, scale *= 10.0)
    if (std::fabs(std::round(number * scale) / scale - number) < 1e-9 * magnitude) return d;
  return kMaxDecimals;
}

}  // namespace

Picture::Picture(std::string_view picture, const Value& value) {
  switch (value.type()) {
    case ValueType::Number: kind_ = FieldKind::Number; break;
    case ValueType::Date: kind_ = FieldKind::Date; break;
    case ValueType::Logical: kind_ = FieldKind::Logical; break;
    default: kind_ = FieldKind::Text; break;  // a list cannot be edited: a text of width 0
  }
  std::string_view tmpl = picture;
  if (!picture.empty() && picture.front() == '@') {
    const std::size_t blank = picture.find(' ');
    parse_functions(picture.substr(1, blank == std::string_view::npos ? std::string_view::npos : blank - 1));
    tmpl = blank == std::string_view::npos ? std::string_view() : picture.substr(blank + 1);
  }
  build_template(tmpl, value);
}

void Picture::parse_functions(std::string_view functions) {
  for (std::size_t i = 0; i < functions.size(); ++i) {
    switch (upper_case_852(functions[i])) {
      case '!': upper_all_ = true; break;
      case 'K': clear_on_first_key_ = true; break;
      case 'R': fixed_not_stored_ = true; break;
      case 'S': {
        int n = 0;
        while (i + 1 < functions.size() && is_digit(functions[i + 1]) && n < 1000) n = n * 10 + (functions[++i] - '0');
        scroll_width_ = n;
        break;
      }
      default: break;  // functions this system never uses are ignored
    }
  }
}

void Picture::build_template(std::string_view tmpl, const Value& value) {
  switch (kind_) {
    case FieldKind::Text:
      template_ = tmpl.empty() ? std::string(value.is_text() ? value.text().size() : 0, 'X') : std::string(tmpl);
      for (int p = 0; p < width(); ++p)
        if (std::string_view("XA9N#LY!").find(template_[p]) != std::string_view::npos) editable_.push_back(p);
      break;
    case FieldKind::Number: {
      const bool has_digits = tmpl.find_first_of("9#") != std::string_view::npos;
      if (has_digits) {
        template_ = std::string(tmpl);
      } else {
        const int d = decimals_of(value.number());
        template_ = std::string(kNumberIntegerWidth, '9');
        if (d > 0) template_ += "." + std::string(static_cast<std::size_t>(d), '9');
      }
      const std::size_t point = template_.find('.');
      point_ = point == std::string::npos ? -1 : static_cast<int>(point);
      for (int p = 0; p < width(); ++p) {
        if (template_[p] != '9' && template_[p] != '#') continue;
        editable_.push_back(p);
        if (point_ >= 0 && p > point_) ++decimals_;
      }
      if (decimals_ == 0) point_ = -1;  // "999." has no decimals to move into
      break;
    }
    case FieldKind::Date:
      template_ = "99.99.9999";  // the run's date format, whatever the picture says
      editable_ = {0, 1, 3, 4, 6, 7, 8, 9};
      break;
    case FieldKind::Logical:
      template_ = !tmpl.empty() && upper_case_852(tmpl.front()) == 'Y' ? "Y" : "L";
      editable_ = {0};
      break;
  }
}

int Picture::shown_width() const { return scroll_width_ > 0 ? std::min(scroll_width_, width()) : width(); }

bool Picture::is_editable(int pos) const { return std::binary_search(editable_.begin(), editable_.end(), pos); }

std::optional<char> Picture::accept(int pos, char c) const {
  if (!is_editable(pos)) return std::nullopt;
  const auto u = static_cast<unsigned char>(c);
  if (u < 32 || u == 127) return std::nullopt;
  const char t = template_[pos];
  const char up = upper_case_852(c);
  switch (kind_) {
    case FieldKind::Number:
      if (is_digit(c) || c == '-' || (t == '#' && (c == ' ' || c == '+'))) return c;
      return std::nullopt;
    case FieldKind::Date:
      if (is_digit(c)) return c;
      return std::nullopt;
    case FieldKind::Logical:
      if (up == 'T' || up == 'Y') return t == 'Y' ? 'Y' : 'T';
      if (up == 'F' || up == 'N') return t == 'Y' ? 'N' : 'F';
      return std::nullopt;
    case FieldKind::Text: break;
  }
  const char typed = upper_all_ || t == '!' ? up : c;
  bool ok = false;
  switch (t) {
    case 'X': case '!': ok = true; break;
    case '9': ok = is_digit(c); break;
    case '#': ok = is_digit(c) || c == ' ' || c == '+' || c == '-'; break;
    case 'A': ok = is_letter_852(c); break;
    case 'N': ok = is_letter_852(c) || is_digit(c); break;
    case 'L': ok = up == 'T' || up == 'F' || up == 'Y' || up == 'N'; break;
    case 'Y': ok = up == 'Y' || up == 'N'; break;
    default: break;
  }
  if (!ok) return std::nullopt;
  return t == 'L' || t == 'Y' ? up : typed;
}

std::string Picture::blank_buffer() const {
  std::string out = template_;
  for (int p : editable_) out[p] = ' ';
  if (kind_ == FieldKind::Number) std::replace(out.begin(), out.end(), ',', ' ');
  return out;
}

std::string Picture::buffer_of(const Value& value) const {
  switch (kind_) {
    case FieldKind::Number: return render_number(value.number());
    case FieldKind::Date: return value.date().dtoc();
    case FieldKind::Logical:
      if (template_ == "Y") return value.logical() ? "Y" : "N";
      return value.logical() ? "T" : "F";
    case FieldKind::Text: break;
  }
  const std::string& text = value.text();
  std::string out = template_;
  std::size_t next = 0;  // with @R the value fills the editable positions in turn
  for (int p : editable_) {
    const std::size_t from = fixed_not_stored_ ? next++ : static_cast<std::size_t>(p);
    const char c = from < text.size() ? text[from] : ' ';
    out[p] = upper_all_ || template_[p] == '!' ? upper_case_852(c) : c;
  }
  return out;
}

Value Picture::value_of(std::string_view buffer, const Value& original) const {
  switch (kind_) {
    case FieldKind::Number: return Value(parse_number(buffer));
    case FieldKind::Date: return Value(Date::from_dtoc(buffer));
    case FieldKind::Logical: return Value(!buffer.empty() && (buffer[0] == 'T' || buffer[0] == 'Y'));
    case FieldKind::Text: break;
  }
  std::string stored;
  if (fixed_not_stored_) {
    for (int p : editable_)
      if (static_cast<std::size_t>(p) < buffer.size()) stored += buffer[p];
  } else {
    stored = std::string(buffer);
  }
  const std::string& before = original.text();
  if (before.size() > stored.size()) stored += before.substr(stored.size());
  return Value(std::move(stored));
}

bool Picture::acceptable(std::string_view buffer) const {
  if (kind_ != FieldKind::Date) return true;
  const bool blank = std::none_of(buffer.begin(), buffer.end(), is_digit);
  return blank || !Date::from_dtoc(buffer).empty();
}

std::string Picture::render_number(double number) const {
  std::string out = blank_buffer();
  const double scaled = std::round(std::fabs(number) * std::pow(10.0, decimals_));  // half away from zero
  auto overflow = [&] {
    std::string stars = template_;
    for (int p : editable_) stars[p] = '*';
    return stars;
  };
  if (!(scaled < 9e18)) return overflow();
  std::string digits = std::to_string(static_cast<std::uint64_t>(scaled));
  const auto decimals = static_cast<std::size_t>(decimals_);
  if (digits.size() < decimals + 1) digits.insert(0, decimals + 1 - digits.size(), '0');
  std::string integer = digits.substr(0, digits.size() - decimals);
  const std::string fraction = digits.substr(digits.size() - decimals);
  const bool negative = number < 0 && scaled != 0;

  std::size_t f = 0;
  for (int p : editable_)
    if (point_ >= 0 && p > point_) out[p] = fraction[f++];
  const bool has_integer_positions = !editable_.empty() && editable_.front() < integer_end();
  if (integer == "0" && !has_integer_positions) integer.clear();  // ".99" shows 0.5 as ".50"

  std::size_t left = integer.size();  // integer digits not placed yet
  bool sign_placed = !negative;
  for (int p = integer_end() - 1; p >= 0; --p) {
    if (is_editable(p)) {
      if (left > 0) {
        out[p] = integer[--left];
      } else if (!sign_placed) {
        out[p] = '-';
        sign_placed = true;
      }
    } else if (template_[p] == ',') {
      out[p] = left > 0 ? ',' : ' ';
    }
  }
  if (left > 0 || !sign_placed) return overflow();
  return out;
}

double Picture::parse_number(std::string_view buffer) const {
  std::string integer, fraction;
  bool negative = false;
  for (int p : editable_) {
    if (static_cast<std::size_t>(p) >= buffer.size()) break;
    const char c = buffer[p];
    if (c == '-') negative = true;
    if (!is_digit(c)) continue;
    (p < integer_end() ? integer : fraction) += c;
  }
  const std::string text = (integer.empty() ? "0" : integer) + "." + (fraction.empty() ? "0" : fraction);
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return negative ? -value : value;
}

void Picture::align_integer_part(std::string& buffer) const {
  if (kind_ != FieldKind::Number || buffer.size() != template_.size()) return;
  std::string integer;
  bool negative = false;
  std::vector<int> positions;
  for (int p : editable_) {
    if (p >= integer_end()) break;
    positions.push_back(p);
    if (buffer[p] == '-') negative = true;
    if (is_digit(buffer[p])) integer += buffer[p];
  }
  if (negative) integer.insert(0, 1, '-');
  if (integer.size() > positions.size()) integer.erase(0, integer.size() - positions.size());
  const std::size_t pad = positions.size() - integer.size();
  for (std::size_t i = 0; i < positions.size(); ++i) buffer[positions[i]] = i < pad ? ' ' : integer[i - pad];
  for (int p = 0; p < integer_end(); ++p)
    if (template_[p] == ',') buffer[p] = ' ';  // shown again once the value is formatted on leaving
}

}  // namespace intra
