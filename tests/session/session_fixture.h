#pragma once
// One workstation's start over a temporary database directory (the
// database tests' fixture) with the session's public variables, a company
// table written as the test needs it, and every message-window text seen
// while the start waited.
#include <string>
#include <vector>

#include "database/database_fixture.h"
#include "main/public_variables.h"
#include "session/company_table.h"
#include "storage/table_operations.h"

namespace intra::testing {

struct SessionFixture : DatabaseFixture {
  SessionFixture() {
    publics().clear();
    publics().set("WWW", "");
    publics().set("INDEKSOWAC", false);
    publics().set("STACJA", 0);
    watch_messages();
  }
  ~SessionFixture() { publics().clear(); }

  // The text row of the message window at every wait (timed and brief
  // windows wait on the clock).
  void watch_messages() {
    clock.at(clock.elapsed() + std::chrono::milliseconds(1), [this] {
      const std::string row = con.screen().row_text(17);
      if (row.find_first_not_of(' ') != std::string::npos && (messages.empty() || messages.back() != row))
        messages.push_back(row);
      watch_messages();
    });
  }
  bool was_shown(const std::string& text) const {
    for (const std::string& m : messages)
      if (m.find(text) != std::string::npos) return true;
    return con.screen().row_text(17).find(text) != std::string::npos;
  }

  // firma.dbf with its one record: the map and, when given, the name.
  void make_company(const std::string& map, const std::string& name = "", const std::string& bmr = "12.26") {
    TWORZ_FIRMA();
    auto table = other_station("firma", false);
    ASSERT_TRUE(table);
    ASSERT_TRUE(table->append());
    ASSERT_TRUE(table->put(table->field_index("ST"), Value(map)));
    ASSERT_TRUE(table->put(table->field_index("NODB"), Value(name)));
    ASSERT_TRUE(table->put(table->field_index("BMR"), Value(bmr)));
    ASSERT_TRUE(table->close());
  }
  // A field of the company record as it is on disk.
  std::string company(const std::string& field) {
    auto table = other_station("firma", true);
    if (!table || !table->go_to(1)) return "<no record>";
    const int index = table->field_index(field);
    return index < 0 ? "<no field>" : table->get(index).text();
  }

  std::vector<std::string> messages;
};

}  // namespace intra::testing
