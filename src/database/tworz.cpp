#include "database/tworz.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "database/creation_log.h"
#include "database/file_erase.h"
#include "database/net_use.h"
#include "main/run_error.h"
#include "screen/message_window.h"
#include "screen/text_helpers.h"
#include "storage/field_spec_string.h"
#include "storage/table_error.h"
#include "storage/table_operations.h"

namespace intra {
namespace {

constexpr int kScratchNumbers = 100;  // strukt00 to strukt99
constexpr int kFirstScratchArea = 88;
constexpr int kLastScratchArea = 98;
constexpr int kScratchOpenTries = 5;
// The error look of the timed window (red), long enough to be read.
constexpr int kUnavailableSeconds = 3;
constexpr std::string_view kScratchUnavailable = "Plik strukt.dbf niedostepny";

// The classic structure file: one record per field of the table to create.
const std::vector<FieldSpec> kStructureFields = {
    {"FIELD_NAME", 'C', 10, 0}, {"FIELD_TYPE", 'C', 1, 0}, {"FIELD_LEN", 'N', 3, 0}, {"FIELD_DEC", 'N', 3, 0}};
constexpr int kLargestStructureNumber = 999;

// Selects the area of the call again however TWORZ ends.
class BackToArea {
 public:
  BackToArea() : number_(SELECT()) {}
  ~BackToArea() { DBSELECTAREA(number_); }
  BackToArea(const BackToArea&) = delete;
  BackToArea& operator=(const BackToArea&) = delete;

 private:
  int number_;
};

void close_current_table() {
  if (USED()) DBCLOSEAREA();
}

// A scratch name whose file is not there (any more): a stale one is erased,
// one still held by another open is passed over for the next number. None
// when all hundred are held.
std::optional<std::string> free_scratch_name(FileSystem& fs, int number) {
  for (int tried = 0; tried < kScratchNumbers; ++tried, number = (number + 1) % kScratchNumbers) {
    const std::string name = "strukt" + STR2(number);
    const std::string file = Table::table_file_name(name);
    if (!fs.exists(file)) return name;
    close_current_table();
    if (erase_unless_open(fs, file)) return name;
  }
  return std::nullopt;
}

int scratch_number(int number) {
  const int n = number > 0 ? number : run_clock().local_time().second;
  return n <= 99 ? n : 0;  // STR2 writes anything above 99 as 00
}

// The first free area among 88 to 98, else the first free one at all; 0
// when every area is in use.
int scratch_area() {
  const int among_scratch_areas = work_areas().first_free_among(kFirstScratchArea, kLastScratchArea);
  return among_scratch_areas != 0 ? among_scratch_areas : work_areas().first_free();
}

// A malformed string is the calling routine's fault: the handler is told
// what is wrong and where, and nothing has been touched.
void report_malformed(std::string_view structure, const std::string& problem) {
  const std::string_view table = structure.substr(0, structure.find(','));
  RunError error = TableError::make(TableErrorKind::CreateError, std::string(table), problem).to_run_error();
  error.can_retry = false;
  raise_run_error(error);
}

// One record per field in the scratch file open in the current area.
// Character widths above 255 are kept the classic way, the low byte in
// FIELD_LEN and the high byte in FIELD_DEC. Numbers the file cannot hold
// (widths the engine refuses anyway) are cut to 999.
void write_structure(const std::vector<FieldSpec>& fields) {
  for (const FieldSpec& f : fields) {
    if (!DBAPPEND()) return;
    const bool long_text = f.type == 'C' && f.width > 255;
    FIELDPUT("FIELD_NAME", Value(f.name));
    FIELDPUT("FIELD_TYPE", Value(std::string(1, f.type)));
    FIELDPUT("FIELD_LEN", Value(std::min(long_text ? f.width % 256 : f.width, kLargestStructureNumber)));
    FIELDPUT("FIELD_DEC", Value(std::min(long_text ? f.width / 256 : f.decimals, kLargestStructureNumber)));
  }
}

}  // namespace

bool TWORZ(std::string_view structure, const Value& /*ignored*/, int number, CallSite caller, CallSite callers_caller) {
  const BackToArea back_to_area;
  FileSystem& fs = work_areas().files();

  // Read before anything is erased, so a malformed string loses no table.
  std::string problem;
  const std::optional<ParsedSpec> table = parse_field_spec_string(structure, problem);
  if (!table) {
    report_malformed(structure, problem);
    return false;
  }

  const std::optional<std::string> scratch = free_scratch_name(fs, scratch_number(number));
  if (!scratch) {
    OKNO_(kScratchUnavailable, kUnavailableSeconds);
    return false;
  }

  if (const std::string file = Table::table_file_name(table->path); fs.exists(file)) {
    close_current_table();
    erase_unless_open(fs, file);  // one still in use is kept: the creation below reports it
  }

  if (!DBSELECTAREA(scratch_area())) {
    OKNO_(kScratchUnavailable, kUnavailableSeconds);
    return false;
  }
  if (!DBCREATE(*scratch, kStructureFields)) return false;
  if (!NET_USE(*scratch, "strukt", true, kScratchOpenTries)) {
    OKNO_(kScratchUnavailable, kUnavailableSeconds);
    return false;
  }
  write_structure(table->fields);
  DBCLOSEAREA();

  const bool created = DBCREATE(table->path, table->fields);
  erase_unless_open(fs, Table::table_file_name(*scratch));
  if (!created) return false;

  if (is_logged_creation(table->path))
    write_creation_log(fs, creation_log_entry(run_clock().local_time(), table->path, caller, callers_caller));
  return true;
}

}  // namespace intra
