#include "main/clock.h"

#include <cstdio>
#include <ctime>
#include <thread>

namespace intra {

std::string LocalTime::hh_mm_ss() const {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", hour, minute, second);
  return buf;
}

LocalTime LocalTime::from_epoch(long long seconds, int millisecond) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm tm{};
  localtime_r(&t, &tm);
  LocalTime lt;
  lt.date = Date::from_ymd(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
  lt.hour = tm.tm_hour;
  lt.minute = tm.tm_min;
  lt.second = tm.tm_sec;
  lt.millisecond = millisecond;
  return lt;
}

double LocalTime::seconds_since_midnight() const {
  return hour * 3600.0 + minute * 60.0 + second + millisecond / 1000.0;
}

Clock::Duration SystemClock::elapsed() const {
  return std::chrono::duration_cast<Duration>(std::chrono::steady_clock::now().time_since_epoch());
}

LocalTime SystemClock::local_time() const {
  const auto ms = std::chrono::duration_cast<Duration>(std::chrono::system_clock::now().time_since_epoch()).count();
  return LocalTime::from_epoch(ms / 1000, static_cast<int>(ms % 1000));
}

void SystemClock::sleep(Duration d) {
  if (d.count() > 0) std::this_thread::sleep_for(d);
}

VirtualClock::VirtualClock(LocalTime start) : start_(start) {}

LocalTime VirtualClock::default_start() {
  LocalTime t;
  t.date = Date::from_ymd(2026, 12, 11);
  t.hour = 9;
  return t;
}

LocalTime VirtualClock::local_time() const {
  const long long total_ms = static_cast<long long>(start_.seconds_since_midnight() * 1000.0) + now_.count();
  const long long day_ms = 24LL * 3600 * 1000;
  LocalTime t;
  t.date = start_.date.plus_days(static_cast<int>(total_ms / day_ms));
  long long rest = total_ms % day_ms;
  t.hour = static_cast<int>(rest / 3600000);
  rest %= 3600000;
  t.minute = static_cast<int>(rest / 60000);
  rest %= 60000;
  t.second = static_cast<int>(rest / 1000);
  t.millisecond = static_cast<int>(rest % 1000);
  return t;
}

namespace {
Clock* g_clock = nullptr;
}

Clock& run_clock() {
  static SystemClock system;
  return g_clock ? *g_clock : system;
}

void set_run_clock(Clock* c) { g_clock = c; }

}  // namespace intra
