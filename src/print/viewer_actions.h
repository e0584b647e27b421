#pragma once
// What the viewer's keys do with the file shown, apart from moving the
// window: printing through the printing services, the copies to TXT\ and
// to a table file, the PDF request and the mail. Each returns whether the
// view must go back to the top of the file with a repaint (after a print).
#include <string>

#include "screen/console.h"
#include "storage/file_system.h"

namespace intra {

// "PDF" + the station number in two digits + ".TXT": the request a PDF
// routine answers after the viewer closes.
std::string pdf_request_file();

// F5: the whole file, when printing is there and DRUKOWAC agrees.
bool print_whole(const std::string& file);
// Alt+F5: a part between two texts (dialog first).
bool print_part(Console& con, const std::string& file);
// Ctrl+F5: after a number of blank lines (dialog first). The prepared copy
// stays on disk.
bool print_after_blank_lines(Console& con, const std::string& file);

// Alt+T: copies the file into TXT\ under the name asked for; `remembered`
// carries the name from one copy to the next.
void copy_to_text(Console& con, const std::string& file, std::string& remembered, FileSystem& fs);
// Alt+W: copies the file into TXT\ under the print file's own name (PLIK
// without its first four and last four characters) and edits the copy.
void copy_and_edit(const std::string& file, FileSystem& fs);
// Alt+B: copies the records of the table in the current work area that are
// not marked deleted into a new table file.
void copy_table(Console& con, std::string& remembered);
// Alt+P: the PDF request, then Esc for the viewer to close.
void request_pdf(Console& con, const std::string& file, FileSystem& fs);
// Alt+E: mail the file as a PDF, then Esc for the viewer to close. Does
// nothing without BLAT.EXE in the working directory or an SMTP server.
void mail_file(Console& con, const std::string& file, FileSystem& fs);

}  // namespace intra
