// The vfile module: its factory and the entry points the host looks for.
#include "plugins/vfile/FileTransferSession.h"
#include "sdk/PlugsExports.h"
#include "sdk/SessionPlugsFactory.h"

namespace {

class FileTransferFactory : public SessionPlugsFactory<FileTransferSession> {
 public:
  const char* name() override { return "vfile"; }
  float version() override { return 0.1f; }
  int kind() override { return PLUG_KIND_ADDIN; }
  const char* author() override { return "Druvo"; }
  const char* shortDescription() override {
    return "Transfert your file easily between two vornith";
  }
};

FileTransferFactory factory;

}  // namespace

// The older, shorter services table is enough: nothing here uses the host settings entries.
VORNITH_PLUGIN_EXPORTS_SHORT()
