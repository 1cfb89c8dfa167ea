// The NevLine module: its factory and the entry points the host looks for.
#include "lib/RootWindow.h"
#include "plugins/NevLine/NevLineSession.h"
#include "sdk/PlugsExports.h"

namespace {

class NevLineFactory : public VornithPlugsFactory {
 public:
  // The module's own window toolkit, for the setup page.
  int init() override {
    root = new RootWindow();
    initToolkit(plugsModuleInstance(), 101, root);
    return 1;
  }
  void term() override { plugsTermRootWindow(root); }
  const char* name() override { return "NevLine"; }
  float version() override { return 0.11f; }
  int kind() override { return PLUG_KIND_INOUT; }
  const char* author() override { return "Morvash"; }
  const char* shortDescription() override { return "Full Line Filter."; }
  const char* getHelpFile() override { return nullptr; }
  PlugsObject* newSession(const char* clientName) override {
    return plugsNewSession<NevLineSession>(clientName);
  }
  void deleteSession(PlugsObject* session) override { plugsDeleteSession(session); }

 private:
  RootWindow* root = nullptr;
};

NevLineFactory factory;

}  // namespace

VORNITH_PLUGIN_EXPORTS()
