#pragma once
// TWORZ: creates a table from a field-specification string (see
// storage/field_spec_string.h), replacing the table of that name:
//
//   TWORZ("24\\05\\as,MAG       ,C,  1,  0,INDEKS    ,C,  8,  0");
//
// The table is always created anew (callers that want to keep data copy it
// out first) and left closed; the caller opens it with NET_USE. The work
// area selected at the call is selected again when TWORZ returns, but a
// table open in it is closed when a stale scratch file or the old table has
// to be erased (the caller is normally about to replace that very table).
//
// On the way a scratch structure file strukt<NN>.dbf is made in the working
// directory, in the first free work area among 88 to 98 (any free one when
// those are taken), and opened exclusively: one record per field, the
// classic structure file's fields FIELD_NAME, FIELD_TYPE, FIELD_LEN,
// FIELD_DEC. It is erased once the table is made. <NN> is STR2(number), or
// the seconds of the current time when `number` is 0 or less; a stale file
// of that name is erased, and when another workstation still holds it the
// next number is taken (99 is followed by 00), all hundred at most.
//
// Creating the documents-header table of a month (a name containing \DOWOD,
// not in ROB\) adds an entry to DOWOD.LOG naming the caller and the
// caller's caller with their lines (see creation_log.h). A routine that
// knows its own caller passes it on:
//
//   bool INIT_DBF(CallSite caller = CallSite::here()) {
//     return TWORZ(structure, {}, 0, CallSite::here(), caller);
//   }
//
// The second argument is taken and not used, as callers have always
// passed one.
//
// Results: true when the table was created. False when no scratch file
// could be had ("Plik strukt.dbf niedostepny" in the red timed window for 3
// seconds), and false after the run's error handler was told and answered
// Default when the string is malformed (nothing is erased then) or the
// engine could not create a file (also when another station still has the
// old table open: it is not erased from under its users).
#include <string_view>

#include "database/call_site.h"
#include "main/value.h"

namespace intra {

bool TWORZ(std::string_view structure, const Value& ignored = {}, int number = 0,
           CallSite caller = CallSite::here(), CallSite callers_caller = {});

}  // namespace intra
