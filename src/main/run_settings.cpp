#include "main/run_settings.h"

namespace intra {

RunSettings& run_settings() {
  static RunSettings settings;
  return settings;
}

}  // namespace intra
