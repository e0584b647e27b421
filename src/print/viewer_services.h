#pragma once
// What the viewer hands over to the routines of other libraries: printing,
// the PDF file, the editor and the calculator. Each is empty until its
// library is built and installs it; while a service is missing, the keys
// that need it do nothing (F5, Alt+F5 and Ctrl+F5 without printing, Alt+W
// without the editor, Alt+K without the calculator), and the PDF requests
// of Alt+P stay on disk for when the PDF routine arrives.
#include <functional>
#include <string>

namespace intra {

struct ViewerServices {
  // DRUKOWAC: chooses the printer and asks whether it is ready; true to print.
  std::function<bool()> drukowac;
  // FILETOPRINTER: prints a file.
  std::function<void(const std::string& file)> file_to_printer;
  // Makes a PDF file of a print file; its path, "" when none was made.
  std::function<std::string(const std::string& file)> make_pdf;
  // MEDIT: edits a text file.
  std::function<void(const std::string& file)> medit;
  // KALK: the calculator.
  std::function<void()> kalk;

  bool printing() const { return drukowac && file_to_printer; }
};

// The services of the run; libraries assign their members at start-up.
ViewerServices& viewer_services();

}  // namespace intra
