#include "plugins/vfile/TransferSettings.h"

TransferSettings& transferSettings() {
  static TransferSettings settings;
  return settings;
}
