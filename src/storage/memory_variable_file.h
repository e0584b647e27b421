#pragma once
// Memory-variable files: the session's variables saved by name and read
// back by a later session, the format the system's parameter file
// parametr.mem (and its copy parametr.txt) is kept in, shared with the
// other programs on the same working directory. Layout byte for byte:
// docs/formats/memory_variable_file.md.
//
// Saving (MVSAVE) writes the visible value of every selected variable of
// type text, number, date or logical, in ascending byte order of the names,
// while holding the file exclusively; restoring (MVRESTORE) reads it back
// while keeping writers out. A file name without an extension gets ".mem".
//
// Both run their file work through the run's error handler: a file that
// cannot be created or opened (also because another station holds it) is a
// "Create error" (20/2006) or "Open error" (21/2005) offering retry; a
// failed write or read is a "Write error" (24) or "Read error" (23), also
// retried as a whole. An answer other than Retry gives up and the call
// returns false.
#include <string>
#include <string_view>

#include "main/public_variables.h"
#include "storage/file_system.h"
#include "storage/key_expression.h"

namespace intra {

// "parametr" -> "parametr.mem"; a name whose last component has an
// extension ("parametr.txt") is kept as it is.
std::string memory_file_name(std::string_view name);

// The output width and decimals a number is saved with. Our numbers carry
// no layout of their own, so it is derived from the value: the decimals are
// the fewest (0 to kMaxSavedDecimals) whose fixed-point text reads back as
// the same double, or kMaxSavedDecimals when none does; the integer part is
// 10 places wide, or as wide as its text (sign included) when longer. The
// width is the integer part, plus decimals + 1 when there are decimals, at
// most 255 (it is one byte). Not-a-number and infinities count as 10, 0.
inline constexpr int kMaxSavedDecimals = 9;
NumericLayout saved_number_layout(double value);

// The bytes of a memory-variable file holding the variables of `vars` that
// the mask rule (variable_mask.h) and `include` select.
std::string memory_variable_image(const PublicVariables& vars, std::string_view mask, bool include);

// __MVSAVE. Creates (or empties) `file` and writes the selected variables.
// Only the 32-byte record layout is known: with `extended` true nothing is
// written and the result is false. True when the whole file was written.
bool MVSAVE(std::string_view file, std::string_view mask, bool include, bool extended = false,
            const PublicVariables& vars = publics(), FileSystem& fs = file_system());

// __MVRESTORE. Reads every record of `file` first and changes nothing when
// the file cannot be opened or read; then, unless `additive`, releases all
// variables, and gives each selected record's value to the visible variable
// of its name or, when there is none, to a new private variable of
// `caller` (a scope over the same table `vars`), which disappears when that
// routine's scope ends. Without a caller the new variable is public.
// Reading stops at the last complete record: a header cut short or a value
// whose bytes are cut short ends the file (the cut record is not restored).
// A record of an unknown type has no value bytes and is skipped, as is one
// without a name. With `extended` true nothing is read and the result is
// false. True when the file was read to its end.
bool MVRESTORE(std::string_view file, bool additive, bool extended = false, std::string_view mask = "*",
               bool include = true, PublicVariables::PrivateScope* caller = nullptr,
               PublicVariables& vars = publics(), FileSystem& fs = file_system());

}  // namespace intra
