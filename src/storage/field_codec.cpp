#include "storage/field_codec.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace intra {
namespace {

// ---------------------------------------------------------------- binary forms

std::uint64_t read_le(std::string_view bytes, std::size_t count) {
  std::uint64_t v = 0;
  for (std::size_t i = count; i-- > 0;) v = (v << 8) | static_cast<unsigned char>(bytes[i]);
  return v;
}

void write_le(char* out, std::uint64_t v, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    out[i] = static_cast<char>(v & 0xFF);
    v >>= 8;
  }
}

// Signed value of a `count`-byte little-endian two's-complement integer;
// 0 when fewer bytes are there than the form needs (a damaged record must not
// make us read past the field).
std::int64_t read_signed_le(std::string_view bytes, std::size_t count) {
  if (bytes.size() < count) return 0;
  const std::uint64_t raw = read_le(bytes, count);
  if (count >= 8) return static_cast<std::int64_t>(raw);
  const std::uint64_t sign_bit = std::uint64_t{1} << (8 * count - 1);
  return static_cast<std::int64_t>((raw ^ sign_bit) - sign_bit);
}

// Bytes of a binary integer field: I is 1 to 4 or 8 bytes wide, and any other
// width holds a 4-byte integer in its first bytes.
std::size_t integer_size(const FieldDescriptor& field) {
  switch (field.type) {
    case '2': return 2;
    case '4': return 4;
    default: break;
  }
  if ((field.width >= 1 && field.width <= 4) || field.width == 8) return static_cast<std::size_t>(field.width);
  return 4;
}

// Rounds half away from zero; false when the result is not a `size`-byte
// signed integer (or the value is not finite).
bool to_integer(double value, std::size_t size, std::int64_t& out) {
  if (!std::isfinite(value)) return false;
  const double r = std::round(value);
  const double limit = std::ldexp(1.0, static_cast<int>(8 * size - 1));  // 2^(bits-1), exact
  if (r < -limit || r >= limit) return false;
  out = static_cast<std::int64_t>(r);
  return true;
}

// ---------------------------------------------------------------- decimal text

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxExactPower = 22;

// mantissa * 10^scale. Powers up to 10^22 are exact doubles, so for a
// mantissa below 2^53 one multiplication or division gives the correctly
// rounded double of the decimal text ("2.675" -> the double nearest 2.675).
double scale_by_power_of_ten(double mantissa, int scale) {
  while (scale > kMaxExactPower) {
    mantissa *= kPowersOfTen[kMaxExactPower];
    scale -= kMaxExactPower;
  }
  while (scale < -kMaxExactPower) {
    mantissa /= kPowersOfTen[kMaxExactPower];
    scale += kMaxExactPower;
  }
  return scale >= 0 ? mantissa * kPowersOfTen[scale] : mantissa / kPowersOfTen[-scale];
}

// A non-negative number as significant decimal digits: digits[0] is worth
// 10^exponent, digits[i] 10^(exponent - i). No digits means zero.
struct DecimalDigits {
  static constexpr int kSignificant = 15;  // every 15-digit decimal survives a trip through a double
  char digits[kSignificant + 1];
  int count = 0;
  int exponent = 0;
};

// Taking the number to 15 significant digits first is what makes rounding
// agree with the decimal text a person has in mind: 2.675 is stored as
// 2.67499999999999982..., but its 15-digit form is 2.67500000000000, which
// then rounds half away from zero to 2.68. The same step absorbs the last-bit
// noise of arithmetic (1.1 * 3 = 3.3000000000000003).
DecimalDigits significant_digits(double magnitude) {
  DecimalDigits d;
  if (magnitude == 0.0) return d;
  char buf[48];
  const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                                 DecimalDigits::kSignificant - 1);
  // "d.dddddddddddddde+XX"
  const char* p = buf;
  for (; p < res.ptr && *p != 'e'; ++p) {
    if (*p != '.') d.digits[d.count++] = *p;
  }
  int exponent = 0;
  if (p < res.ptr) std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, exponent);
  d.exponent = exponent;
  return d;
}

// Rounds half away from zero at the place 10^-decimals (the digits are of
// the magnitude, so "up" is away from zero).
void round_at(DecimalDigits& d, int decimals) {
  if (d.count == 0) return;
  const int keep = d.exponent + decimals + 1;  // digits worth at least 10^-decimals
  if (keep >= d.count) return;
  if (keep < 0) {  // below half of the last place
    d.count = 0;
    return;
  }
  const bool up = d.digits[keep] >= '5';
  d.count = keep;
  if (!up) return;
  int i = keep - 1;
  for (; i >= 0 && d.digits[i] == '9'; --i) d.digits[i] = '0';
  if (i >= 0) {
    ++d.digits[i];
  } else {  // carried out of the leading digit (9.99 -> 10.0, or 0.5 -> 1)
    std::memmove(d.digits + 1, d.digits, static_cast<std::size_t>(d.count));
    d.digits[0] = '1';
    ++d.count;
    ++d.exponent;
  }
}

bool all_zero(const DecimalDigits& d) {
  for (int i = 0; i < d.count; ++i) {
    if (d.digits[i] != '0') return false;
  }
  return true;
}

char digit_at_place(const DecimalDigits& d, int place) {
  const int i = d.exponent - place;
  return i >= 0 && i < d.count ? d.digits[i] : '0';
}

// Right-aligned decimal digits of an unsigned integer; false when it needs
// more than `width` bytes.
bool format_unsigned_into(std::uint64_t v, int width, char* out) {
  char buf[24];
  const auto res = std::to_chars(buf, buf + sizeof buf, v);
  const auto len = static_cast<int>(res.ptr - buf);
  if (len > width) return false;
  std::memset(out, ' ', static_cast<std::size_t>(width - len));
  std::memcpy(out + (width - len), buf, static_cast<std::size_t>(len));
  return true;
}

// The block number of a decimal memo field: leading spaces, then digits.
std::uint64_t parse_block_number(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::uint64_t v = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && v < (std::uint64_t{1} << 59); ++i) {
    v = v * 10 + static_cast<std::uint64_t>(text[i] - '0');
  }
  return v;
}

// ---------------------------------------------------------------- dates

// The 3-byte date form holds the Julian day number, the same count the
// system's Date keeps (2451545 is 1 January 2000). Numbers outside the
// years 1 to 9999 read as the empty date, as a text date outside them does.
Date decode_binary_date(std::string_view bytes) {
  if (bytes.size() < 3) return Date();
  const auto n = static_cast<std::int32_t>(read_le(bytes, 3));
  if (n == 0) return Date();
  const Date d = Date::from_day_number(n);
  return d.year() >= 1 && d.year() <= 9999 ? d : Date();
}

void put_digits(char* out, int value, int count) {
  for (int i = count; i-- > 0;) {
    out[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
}

EncodeResult encode_date(const FieldDescriptor& field, Date date, char* out) {
  if (field.width == 3) {
    write_le(out, date.empty() ? 0 : static_cast<std::uint32_t>(date.day_number()), 3);
    return EncodeResult::Ok;
  }
  const auto width = static_cast<std::size_t>(field.width);
  if (date.empty()) {
    std::memset(out, ' ', width);
    return EncodeResult::Ok;
  }
  const int year = date.year();
  if (year < 1 || year > 9999 || field.width < 8) return EncodeResult::DataWidth;
  put_digits(out, year, 4);
  put_digits(out + 4, date.month(), 2);
  put_digits(out + 6, date.day(), 2);
  std::memset(out + 8, ' ', width - 8);
  return EncodeResult::Ok;
}

// ---------------------------------------------------------------- per type

bool is_binary_memo(const FieldDescriptor& field) { return field.type == 'M' && field.width == 4; }

EncodeResult encode_memo(const FieldDescriptor& field, double block, char* out) {
  // Block numbers are whole and fit the memo file's 32-bit pointers.
  if (!std::isfinite(block) || block < 0 || block > 4294967295.0 || block != std::floor(block))
    return EncodeResult::DataWidth;
  const auto n = static_cast<std::uint64_t>(block);
  if (is_binary_memo(field)) {
    write_le(out, n, 4);
    return EncodeResult::Ok;
  }
  if (n == 0) {
    std::memset(out, ' ', static_cast<std::size_t>(field.width));
    return EncodeResult::Ok;
  }
  return format_unsigned_into(n, field.width, out) ? EncodeResult::Ok : EncodeResult::DataWidth;
}

EncodeResult encode_integer(const FieldDescriptor& field, double value, char* out) {
  const std::size_t size = integer_size(field);
  std::int64_t n = 0;
  if (static_cast<std::size_t>(field.width) < size || !to_integer(value, size, n)) return EncodeResult::DataWidth;
  write_le(out, static_cast<std::uint64_t>(n), size);
  std::memset(out + size, 0, static_cast<std::size_t>(field.width) - size);
  return EncodeResult::Ok;
}

}  // namespace

bool format_number_into(double value, int width, int decimals, char* out) {
  if (width <= 0 || !std::isfinite(value)) return false;
  if (decimals < 0) decimals = 0;
  DecimalDigits d = significant_digits(std::fabs(value));
  round_at(d, decimals);
  const bool zero = all_zero(d);
  const bool negative = value < 0 && !zero;  // -0.001 at 2 decimals is "0.00", never "-0.00"
  const int top_place = zero || d.exponent < 0 ? 0 : d.exponent;  // "0.50": a zero before the point
  const int length = (negative ? 1 : 0) + top_place + 1 + (decimals > 0 ? 1 + decimals : 0);
  if (length > width) return false;

  char* p = out;
  std::memset(p, ' ', static_cast<std::size_t>(width - length));
  p += width - length;
  if (negative) *p++ = '-';
  for (int place = top_place; place >= -decimals; --place) {
    if (place == -1) *p++ = '.';
    *p++ = zero ? '0' : digit_at_place(d, place);
  }
  return true;
}

std::optional<std::string> format_number(double value, int width, int decimals) {
  if (width <= 0) return std::nullopt;
  std::string text(static_cast<std::size_t>(width), ' ');
  if (!format_number_into(value, width, decimals, text.data())) return std::nullopt;
  return text;
}

double parse_number(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  // 19 significant digits fit a uint64; later integer digits only scale the
  // value, later fraction digits are below a double's precision anyway.
  std::uint64_t mantissa = 0;
  int significant = 0;
  int scale = 0;
  bool seen_point = false;
  for (; i < n; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      if (significant < 19) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        if (mantissa != 0) ++significant;
        if (seen_point) --scale;
      } else if (!seen_point) {
        ++scale;
      }
    } else if (c == '.' && !seen_point) {
      seen_point = true;
    } else {
      break;
    }
  }
  if (mantissa == 0) return 0.0;
  const double magnitude = scale_by_power_of_ten(static_cast<double>(mantissa), scale);
  return negative ? -magnitude : magnitude;
}

Value decode_field(const FieldDescriptor& field, std::string_view bytes) {
  switch (field.type) {
    case 'C':
      return Value(bytes);
    case 'N':
    case 'F':
      return Value(parse_number(bytes));
    case 'D':
      return Value(field.width == 3 ? decode_binary_date(bytes) : Date::from_dtos(bytes));
    case 'L': {
      const char c = bytes.empty() ? ' ' : bytes[0];
      return Value(c == 'T' || c == 't' || c == 'Y' || c == 'y');
    }
    case 'M':
      if (is_binary_memo(field))
        return Value(bytes.size() < 4 ? 0.0 : static_cast<double>(read_le(bytes, 4)));
      return Value(static_cast<double>(parse_block_number(bytes)));
    case 'I':
    case '2':
    case '4':
      return Value(static_cast<double>(read_signed_le(bytes, integer_size(field))));
    case 'B':
    case '8':
      return Value(bytes.size() < 8 ? 0.0 : std::bit_cast<double>(read_le(bytes, 8)));
    default:
      return Value(bytes);
  }
}

EncodeResult encode_field(const FieldDescriptor& field, const Value& value, char* out) {
  const auto width = static_cast<std::size_t>(field.width > 0 ? field.width : 0);
  switch (field.type) {
    case 'C': {
      if (!value.is_text()) return EncodeResult::DataType;
      const std::string& text = value.text();
      const std::size_t copied = text.size() < width ? text.size() : width;
      std::memcpy(out, text.data(), copied);
      std::memset(out + copied, ' ', width - copied);
      return EncodeResult::Ok;
    }
    case 'N':
    case 'F':
      if (!value.is_number()) return EncodeResult::DataType;
      if (format_number_into(value.number(), field.width, field.decimals, out)) return EncodeResult::Ok;
      std::memset(out, '*', width);
      return EncodeResult::DataWidth;
    case 'D':
      if (!value.is_date()) return EncodeResult::DataType;
      return encode_date(field, value.date(), out);
    case 'L':
      if (!value.is_logical() || width == 0) return EncodeResult::DataType;
      out[0] = value.logical() ? 'T' : 'F';
      std::memset(out + 1, ' ', width - 1);
      return EncodeResult::Ok;
    case 'M':
      if (!value.is_number()) return EncodeResult::DataType;
      return encode_memo(field, value.number(), out);
    case 'I':
    case '2':
    case '4':
      if (!value.is_number()) return EncodeResult::DataType;
      return encode_integer(field, value.number(), out);
    case 'B':
    case '8':
      if (!value.is_number()) return EncodeResult::DataType;
      if (width < 8) return EncodeResult::DataWidth;
      write_le(out, std::bit_cast<std::uint64_t>(value.number()), 8);
      std::memset(out + 8, 0, width - 8);
      return EncodeResult::Ok;
    default:
      return EncodeResult::DataType;
  }
}

void blank_field(const FieldDescriptor& field, char* out) {
  const auto width = static_cast<std::size_t>(field.width > 0 ? field.width : 0);
  bool binary = false;
  switch (field.type) {
    case 'D': binary = field.width == 3; break;
    case 'M': binary = is_binary_memo(field); break;
    case 'I':
    case 'B':
    case '8':
    case '2':
    case '4': binary = true; break;
    default: break;
  }
  std::memset(out, binary ? 0 : ' ', width);
}

bool valid_field_type(char type, int width) {
  switch (type) {
    case 'C': return width >= 1 && width <= 65535;
    case 'N':
    case 'F': return width >= 1 && width <= 255;
    case 'D': return width == 8 || width == 3;
    case 'L': return width == 1;
    case 'M': return width == 10 || width == 4;
    case 'I': return width >= 1 && width <= 255;
    case 'B':
    case '8': return width == 8;
    case '2': return width == 2;
    case '4': return width == 4;
    default: return false;
  }
}

}  // namespace intra
