#include "main/startup/viewer_wiring.h"

#include "print/viewer_services.h"
#include "tools/calculator.h"

namespace intra {

void connect_viewer_services() {
  viewer_services().kalk = [] { KALK(); };
}

}  // namespace intra
