#pragma once
// Every wait of the program goes through a Clock: timed message windows,
// retry loops, "n seconds or a key". The real clock sleeps; the virtual one
// used by tests only moves its own time forward, so tests never sleep.
#include <chrono>
#include <cstdint>
#include <string>

#include "main/date.h"

namespace intra {

struct LocalTime {
  Date date;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  // The local time of a POSIX time stamp.
  static LocalTime from_epoch(long long seconds, int millisecond);
  std::string hh_mm_ss() const;  // "hh:mm:ss", as the classic TIME()
  double seconds_since_midnight() const;
};

class Clock {
 public:
  using Duration = std::chrono::milliseconds;
  virtual ~Clock() = default;
  // Monotonic time for measuring waits.
  virtual Duration elapsed() const = 0;
  // Local wall-clock date and time.
  virtual LocalTime local_time() const = 0;
  virtual void sleep(Duration d) = 0;
};

class SystemClock final : public Clock {
 public:
  Duration elapsed() const override;
  LocalTime local_time() const override;
  void sleep(Duration d) override;
};

class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(LocalTime start = default_start());
  Duration elapsed() const override { return now_; }
  LocalTime local_time() const override;
  void sleep(Duration d) override { now_ += d; }
  void advance(Duration d) { now_ += d; }
  static LocalTime default_start();  // 11.12.2026 09:00:00

 private:
  LocalTime start_;
  Duration now_{0};
};

// The clock of the run; tests install a virtual one.
Clock& run_clock();
void set_run_clock(Clock* clock);  // nullptr restores the system clock

}  // namespace intra
