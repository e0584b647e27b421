#pragma once
// The viewer's bottom-line dialogs: each saves rows 23 and 24, clears row
// 24 in the default colour and shows the cursor while its fields are read
// there (each field one blank after its label); afterwards the cursor is
// off, the colour "N/W" and the two rows as they were.
#include <optional>
#include <string>

#include "screen/console.h"
#include "screen/screen_buffer.h"

namespace intra {

class BottomLine {
 public:
  explicit BottomLine(Console& con);
  ~BottomLine();
  BottomLine(const BottomLine&) = delete;
  BottomLine& operator=(const BottomLine&) = delete;

 private:
  Console& con_;
  SavedRegion rows_;
};

// Alt+F5: the texts that begin and end the part to print, in capitals and
// trimmed; nothing when the form was left with Esc.
struct PartToPrint {
  std::string from_text;
  std::string to_text;
};
std::optional<PartToPrint> ask_part_to_print(Console& con);

// Ctrl+F5: the number of blank lines to print first; nothing after Esc.
std::optional<int> ask_blank_lines(Console& con);

// Alt+T and Alt+B: a file name in capitals, 50 characters, starting from
// `remembered` (the name of the previous copy); trimmed on the right.
struct CopyName {
  std::string name;
  bool left_with_enter = false;
};
inline constexpr const char* kCopyToText = "Skopiowac do pliku TXT:";
inline constexpr const char* kCopyToTable = "Kopiowac do pliku DBF:";
CopyName ask_copy_name(Console& con, const char* label, const std::string& remembered);

// Alt+E: the address and the message text, as typed (not trimmed).
struct MailForm {
  std::string address;
  std::string text;
};
MailForm ask_mail(Console& con, const std::string& initial_address);

}  // namespace intra
