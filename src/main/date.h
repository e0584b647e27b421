#pragma once
// Calendar date as the system keeps it: a day number, or empty.
// Shown as dd.mm.yyyy (century on, the run-time date format) and stored in
// tables and keys as yyyymmdd.
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace intra {

class Date {
 public:
  Date() = default;  // the empty date
  static Date from_ymd(int year, int month, int day);  // empty when invalid
  static Date from_day_number(std::int32_t day_number);
  // "yyyymmdd" as stored in tables; blanks or an invalid date give empty.
  static Date from_dtos(std::string_view text);
  // "dd.mm.yyyy" as typed on the screen; anything invalid gives empty.
  static Date from_dtoc(std::string_view text);

  bool empty() const { return day_number_ == 0; }
  std::int32_t day_number() const { return day_number_; }
  int year() const;
  int month() const;
  int day() const;

  std::string dtos() const;  // "yyyymmdd", 8 blanks when empty
  std::string dtoc() const;  // "dd.mm.yyyy", "  .  .    " when empty

  Date plus_days(int days) const;
  static bool valid_ymd(int year, int month, int day);
  static int days_in_month(int year, int month);

  friend auto operator<=>(const Date&, const Date&) = default;

 private:
  explicit Date(std::int32_t day_number) : day_number_(day_number) {}
  std::int32_t day_number_ = 0;  // Julian day number; 0 = empty
};

}  // namespace intra
