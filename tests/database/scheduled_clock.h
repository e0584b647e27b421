#pragma once
// A virtual clock that also runs actions once its time has come: another
// station releasing a lock or closing a table after a few seconds of the
// waiting under test. Sleeping only moves the time, as with VirtualClock.
#include <functional>
#include <utility>
#include <vector>

#include "main/clock.h"

namespace intra::testing {

class ScheduledClock final : public Clock {
 public:
  Duration elapsed() const override { return time_.elapsed(); }
  LocalTime local_time() const override { return time_.local_time(); }
  void sleep(Duration d) override {
    time_.sleep(d);
    run_due();
  }

  // Runs `action` at the first sleep that reaches `when` (counted from the
  // clock's start).
  void at(Duration when, std::function<void()> action) { actions_.emplace_back(when, std::move(action)); }

 private:
  void run_due() {
    for (auto it = actions_.begin(); it != actions_.end();) {
      if (it->first > time_.elapsed()) {
        ++it;
        continue;
      }
      auto action = std::move(it->second);
      it = actions_.erase(it);
      action();
      it = actions_.begin();  // the action may have scheduled another
    }
  }

  VirtualClock time_;
  std::vector<std::pair<Duration, std::function<void()>>> actions_;
};

}  // namespace intra::testing
