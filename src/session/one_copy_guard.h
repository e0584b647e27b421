#pragma once
// The one-copy guard: when the marker file VATJEDEN.TXT exists in the
// working directory, only one copy of the program may run on this
// computer. The copy that runs holds C:\VAT_ROB\PROGRAM.DBF (on the local
// disk, through the drive mapping) open exclusively in work area 149
// under the alias "program" for the whole run, with the start's date and
// time in its one record (fields NR C 1, DATA D 8, CZAS_IN C 8, CZAS_OUT
// C 8; CZAS_OUT is never written here).
//
// A second copy finds the table busy, shows "Program juz otwarty na pasku"
// for 5 seconds and ends (QuitProgram, exit code 0). When the table is
// created here and still cannot be opened, "Co jest grane ?" is shown for
// 5 seconds and the start goes on without the guard.
namespace intra {

inline constexpr int kGuardArea = 149;

void guard_one_copy();

}  // namespace intra
