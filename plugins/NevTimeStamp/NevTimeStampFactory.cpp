// The NevTimeStamp module: its factory and the entry points the host looks for.
#include "lib/RootWindow.h"
#include "plugins/NevTimeStamp/NevTimeStampSession.h"
#include "sdk/PlugsExports.h"

namespace {

class NevTimeStampFactory : public VornithPlugsFactory {
 public:
  // The module's own window toolkit, for the setup page.
  int init() override {
    root = new RootWindow();
    initToolkit(plugsModuleInstance(), 101, root);
    return 1;
  }
  void term() override { plugsTermRootWindow(root); }
  const char* name() override { return "NevTimeStamp"; }
  float version() override { return 0.1f; }
  int kind() override { return PLUG_KIND_INOUT; }
  const char* author() override { return "Morvash"; }
  const char* shortDescription() override { return "Time Stamp Information."; }
  const char* getHelpFile() override { return nullptr; }
  PlugsObject* newSession(const char* clientName) override {
    return plugsNewSession<NevTimeStampSession>(clientName);
  }
  void deleteSession(PlugsObject* session) override { plugsDeleteSession(session); }

 private:
  RootWindow* root = nullptr;
};

NevTimeStampFactory factory;

}  // namespace

VORNITH_PLUGIN_EXPORTS()
