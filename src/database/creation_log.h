#pragma once
// The creation log of the documents-header table, DOWOD.LOG in the working
// directory: who created the table when, newest entry first.
//
//   11.12.2026,09:00:00, plik: 24\05\dowod, INIT_DBF(212), MAIN(87)
//   (empty line)
//   up to 10 non-empty lines carried over from the log before
//
// Each new entry moves the log before it to dowod_.txt (the previous
// generation) and starts DOWOD.LOG afresh with the entry, two line ends and
// the first 10 non-empty lines of dowod_.txt. Lines end with CR LF.
#include <string>
#include <string_view>

#include "database/call_site.h"
#include "main/clock.h"
#include "storage/file_system.h"

namespace intra {

// Whether creating this table is logged: its name in capitals contains
// \DOWOD but not ROB\DOWOD, i.e. the documents-header table of a month
// directory ("24\05\dowod") and not a workstation's scratch copy
// ("rob\dowod1"). The name is taken as written: "dowod" without a
// directory, or written with '/', is not logged.
bool is_logged_creation(std::string_view file);

// "11.12.2026,09:00:00, plik: 24\05\dowod, INIT_DBF(212), MAIN(87)"
std::string creation_log_entry(const LocalTime& when, std::string_view file, const CallSite& caller,
                               const CallSite& callers_caller);

// Puts the entry at the head of DOWOD.LOG as described above. When the old
// log cannot be moved aside (dowod_.txt cannot be erased), the entry is put
// in front of the old log in place, so no earlier line is lost.
void write_creation_log(FileSystem& fs, const std::string& entry);

}  // namespace intra
