#pragma once
// Mail from the viewer through the outside mailer `blat`. The program is
// run directly (never through the command interpreter) with the same
// arguments in the same order as its command line would carry:
//   blat text.txt -to <address> -server <server> -subject "Dowod ..." -attach <pdf>
// so an address such as a@b;rm -rf ~ reaches the mailer as one argument.
#include <string>
#include <string_view>

#include "print/process_runner.h"
#include "storage/file_system.h"

namespace intra {

inline constexpr const char* kMailSubject = "Dowod ...";
inline constexpr const char* kMailTextFile = "text.txt";

// The SMTP server: the public M_SMTP when it holds a text that is not
// blank, else the company record's SMTP field (the table open under the
// alias firma); "" when neither has one.
std::string mail_server();

// The mailer's run: `blat` from the working directory when it is there,
// else from the PATH, started in the working directory. `address` and
// `server` are cut of surrounding blanks; `pdf_path` is the PDF file's name.
ProcessRequest mail_request(std::string_view address, std::string_view server, std::string_view pdf_path,
                            const FileSystem& fs = file_system());

}  // namespace intra
