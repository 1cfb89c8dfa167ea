// The vfile module: its factory and the entry points the host looks for.
#include "plugins/vfile/FileTransferSession.h"
#include "sdk/PlugsExports.h"

namespace {

class FileTransferFactory : public VornithPlugsFactory {
 public:
  int init() override { return 1; }
  void term() override {}
  const char* name() override { return "vfile"; }
  float version() override { return 0.1f; }
  int kind() override { return PLUG_KIND_ADDIN; }
  const char* author() override { return "Druvo"; }
  const char* shortDescription() override {
    return "Transfert your file easily between two vornith";
  }
  const char* getHelpFile() override { return nullptr; }
  PlugsObject* newSession(const char* clientName) override {
    return plugsNewSession<FileTransferSession>(clientName);
  }
  void deleteSession(PlugsObject* session) override { plugsDeleteSession(session); }
};

FileTransferFactory factory;

}  // namespace

// The older, shorter services table is enough: nothing here uses the host settings entries.
VORNITH_PLUGIN_EXPORTS_SHORT()
