#pragma once
// VIEW_DRUK: how every report of the system reaches the user. The report
// routine (looked up by name in the table of report routines) writes its
// lines through the printer output into the file; the file is then shown
// in the viewer. An empty report name only shows the file.
//
//   VIEW_DRUK("XML_IntraStat", "intr_P05.xml", &type);
//   VIEW_DRUK("", publics().text("PLIK"));
//
// Around it: the rectangle of the message windows is saved and restored,
// "PRACUJESZ NA KOPII" is shown while KOPIA.TXT exists, a print file
// another process holds is replaced by the name with 51 to 99 in place of
// the station number, the line AAA.111 asks for comes first, "Brak pliku "
// is shown when there is no file to show, and a PDF request left by Alt+P
// is answered once the viewer has closed (while the PDF routine is not
// there, the request file stays).
#include <string_view>

#include "main/value.h"

namespace intra {

bool VIEW_DRUK(std::string_view report, std::string_view file, Value* a1 = nullptr, Value* a2 = nullptr,
               Value* a3 = nullptr);

}  // namespace intra
