#include "print/viewer_services.h"

namespace intra {

ViewerServices& viewer_services() {
  static ViewerServices services;
  return services;
}

}  // namespace intra
