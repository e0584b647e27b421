#pragma once
// The bulk operations of the work areas: copying records out to a new
// table, appending the records of another table, and totalling runs of
// equal keys into a new table. All of them read the source through the
// engine record by record and write the target through the engine, so the
// target's indexes, locks and header stay as every other program expects.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/work_area.h"

namespace intra {

// A condition on the source's current record; empty means every record.
using RecordCondition = std::function<bool()>;

// Creates `file` with the area's structure (replacing a table of that name
// nobody has open) and writes into it, in the area's controlling order from
// the top, every visible record that passes `condition`: the record's bytes,
// its deletion mark (when deleted records are shown) and its memo texts.
// The area's pointer ends at the end of the table.
bool copy_records(WorkArea& source, std::string_view file, const RecordCondition& condition = {});

enum class AppendMatch {
  // Fields matched by name: fields only the target has stay blank, fields
  // only the source has are dropped, a field of another type is converted
  // (number and date texts, logical letters).
  ByName,
  // Fields matched by name and copied only when both tables give them the
  // same type; a record that cannot be appended within one second (another
  // station holds the append lock) is skipped.
  SameTypeOnly,
};

// Appends to the area's table every visible record of the table `file`, in
// record order. A record shown while deleted is appended deleted. The last
// appended record stays current.
bool append_records(WorkArea& target, std::string_view file, AppendMatch match = AppendMatch::ByName);

// Creates `file` with the area's structure less its memo fields and writes
// one record for every run of records with equal keys (compared exactly) in
// the controlling order from the top: the run's first record with each of
// the `summed` numeric fields replaced by the run's sum. Only visible
// records passing `condition` take part.
bool total_records(WorkArea& source, std::string_view file, std::string_view key_text,
                   const std::vector<std::string>& summed, const RecordCondition& condition = {});

}  // namespace intra
