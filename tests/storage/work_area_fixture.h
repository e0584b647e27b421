#pragma once
// The run's work areas over a temporary database directory, with an error
// handler that records every run-time error and answers Default.
#include <memory>
#include <string>
#include <vector>

#include "main/recording_error_handler.h"
#include "storage/table_operations.h"
#include "table_fixture.h"

namespace intra::testing {

struct WorkAreaFixture : TableFixture {
  RecordingHandler handler;
  std::unique_ptr<WorkAreas> areas = std::make_unique<WorkAreas>(files);

  WorkAreaFixture() {
    set_work_areas(areas.get());
    set_run_error_handler(&handler);
  }
  ~WorkAreaFixture() {
    areas.reset();
    set_work_areas(nullptr);
    set_run_error_handler(nullptr);
  }

  // Creates a table and fills it: one row of values per record, in field order.
  void make(const std::string& name, const std::vector<FieldSpec>& fields, const std::vector<std::vector<Value>>& rows,
            const std::vector<int>& deleted = {}) {
    ASSERT_TRUE(create(name, fields)) << last_error.message();
    auto t = open(name, false);
    ASSERT_TRUE(t);
    for (std::size_t r = 0; r < rows.size(); ++r) {
      ASSERT_TRUE(t->append());
      for (std::size_t f = 0; f < rows[r].size(); ++f) ASSERT_TRUE(t->put(static_cast<int>(f), rows[r][f]));
      for (int d : deleted) {
        if (d == static_cast<int>(r) + 1) {
          ASSERT_TRUE(t->delete_record());
        }
      }
    }
    ASSERT_TRUE(t->close());
  }
  // Opens a table in area n of the run.
  bool use(int n, const std::string& file, const std::string& alias, bool shared = false) {
    DBSELECTAREA(n);
    return DBUSEAREA(file, alias, shared);
  }
  // The values of one field over the visible records from the top, in the
  // controlling order.
  std::vector<std::string> column(const std::string& field) {
    std::vector<std::string> out;
    for (DBGOTOP(); !EOF_(); DBSKIP()) out.push_back(trim(FIELDGET(field)));
    return out;
  }
  static std::string trim(const Value& v) {
    if (v.is_number()) {
      const double n = v.number();
      return n == static_cast<long long>(n) ? std::to_string(static_cast<long long>(n)) : std::to_string(n);
    }
    std::string s = v.text();
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
  }
};

}  // namespace intra::testing
