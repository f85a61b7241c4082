#include "model/config_store.h"

namespace mvk {

void ConfigStore::Release() {
  image = DefaultConfigImage();
  macros.clear();
  macros.shrink_to_fit();
  hostStrings.Clear();
}

}  // namespace mvk
