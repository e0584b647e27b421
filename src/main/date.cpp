#include "main/date.h"

#include <cstdio>

namespace intra {
namespace {

// Julian day number of a proleptic Gregorian date (Fliegel and Van Flandern).
std::int32_t to_day_number(int y, int m, int d) {
  const int a = (14 - m) / 12;
  const int yy = y + 4800 - a;
  const int mm = m + 12 * a - 3;
  return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
}

struct Ymd {
  int y, m, d;
};

Ymd from_day_number_ymd(std::int32_t jdn) {
  const int a = jdn + 32044;
  const int b = (4 * a + 3) / 146097;
  const int c = a - 146097 * b / 4;
  const int d = (4 * c + 3) / 1461;
  const int e = c - 1461 * d / 4;
  const int m = (5 * e + 2) / 153;
  return {100 * b + d - 4800 + m / 10, m + 3 - 12 * (m / 10), e - (153 * m + 2) / 5 + 1};
}

bool digits_at(std::string_view text, std::size_t pos, std::size_t count, int& out) {
  if (text.size() < pos + count) return false;
  int value = 0;
  for (std::size_t i = pos; i < pos + count; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  out = value;
  return true;
}

}  // namespace

int Date::days_in_month(int year, int month) {
  static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

bool Date::valid_ymd(int year, int month, int day) {
  return year >= 1 && year <= 9999 && day >= 1 && day <= days_in_month(year, month);
}

Date Date::from_ymd(int year, int month, int day) {
  if (!valid_ymd(year, month, day)) return Date();
  return Date(to_day_number(year, month, day));
}

Date Date::from_day_number(std::int32_t day_number) { return Date(day_number > 0 ? day_number : 0); }

Date Date::from_dtos(std::string_view text) {
  int y = 0, m = 0, d = 0;
  if (!digits_at(text, 0, 4, y) || !digits_at(text, 4, 2, m) || !digits_at(text, 6, 2, d)) return Date();
  return from_ymd(y, m, d);
}

Date Date::from_dtoc(std::string_view text) {
  int y = 0, m = 0, d = 0;
  if (!digits_at(text, 0, 2, d) || !digits_at(text, 3, 2, m) || !digits_at(text, 6, 4, y)) return Date();
  return from_ymd(y, m, d);
}

int Date::year() const { return empty() ? 0 : from_day_number_ymd(day_number_).y; }
int Date::month() const { return empty() ? 0 : from_day_number_ymd(day_number_).m; }
int Date::day() const { return empty() ? 0 : from_day_number_ymd(day_number_).d; }

std::string Date::dtos() const {
  if (empty()) return std::string(8, ' ');
  const Ymd v = from_day_number_ymd(day_number_);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", v.y, v.m, v.d);
  return buf;
}

std::string Date::dtoc() const {
  if (empty()) return "  .  .    ";
  const Ymd v = from_day_number_ymd(day_number_);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", v.d, v.m, v.y);
  return buf;
}

Date Date::plus_days(int days) const { return empty() ? Date() : Date(day_number_ + days); }

}  // namespace intra
