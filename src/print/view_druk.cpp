#include "print/view_druk.h"

#include <string>

#include "print/print_file_name.h"
#include "print/printer_output.h"
#include "print/report_routines.h"
#include "print/text_viewer.h"
#include "print/viewer_actions.h"
#include "print/viewer_services.h"
#include "screen/console.h"
#include "screen/message_window.h"
#include "storage/file_system.h"
#include "storage/file_x.h"

namespace intra {
namespace {

// Writes the report into `file` with all its lines redirected there.
void run_report(std::string_view report, const std::string& file, ReportArguments& arguments) {
  FileSystem& fs = file_system();
  {
    ReportRedirection into_file(file, fs);
    if (FILE_X("AAA.111", fs)) {
      printer_output().text(report);
      printer_output().text("\r\n");
    }
    if (const ReportRoutine* routine = find_report_routine(report)) (*routine)(arguments);
  }
  console().show_cursor(true);
}

}  // namespace

bool VIEW_DRUK(std::string_view report, std::string_view file, Value* a1, Value* a2, Value* a3) {
  Console& con = console();
  FileSystem& fs = file_system();
  // Forms are the callers' own objects here; a caller's pending fields are
  // not read again once it gets control back, so nothing is cleared.
  const SavedRegion under = con.save(kMessageTop, kMessageLeft, kMessageSavedBottom, kMessageRight);
  if (FILE_X("KOPIA.TXT", fs)) OKNO_("PRACUJESZ NA KOPII", con);

  std::string shown(file);
  if (!report.empty()) {
    OKNO_("PROSZE CZEKAC ...", "", con);
    shown = free_print_file_name(shown, fs);
    ReportArguments arguments;
    for (Value* each : {a1, a2, a3})
      if (each) arguments.push_back(each);
    run_report(report, shown, arguments);
  }

  if (fs.exists(shown))
    READTEXT(shown);
  else
    OKNO_("Brak pliku " + shown, con);

  con.set_colour("");
  con.show_cursor(false);
  con.restore(under);

  ViewerServices& services = viewer_services();
  const std::string request = pdf_request_file();
  if (fs.exists(shown) && services.make_pdf && fs.exists(request)) {
    fs.remove(request);
    services.make_pdf(shown);
  }
  return true;
}

}  // namespace intra
