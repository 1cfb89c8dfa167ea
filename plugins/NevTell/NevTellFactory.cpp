// The NevTell module: its factory and the entry points the host looks for.
#include "lib/RootWindow.h"
#include "plugins/NevTell/NevTellSession.h"
#include "sdk/PlugsExports.h"

namespace {

class NevTellFactory : public VornithPlugsFactory {
 public:
  // The module's own window toolkit, with its own root, for the tell tabs.
  int init() override {
    root = new RootWindow();
    initToolkit(plugsModuleInstance(), 101, root);
    return 1;
  }
  void term() override { plugsTermRootWindow(root); }
  const char* name() override { return "NevTell"; }
  float version() override { return 0.1f; }
  int kind() override { return PLUG_KIND_ADDIN; }
  const char* author() override { return "Morvash"; }
  const char* shortDescription() override {
    return "This is a addins plugs to display the tell messages in tabs.";
  }
  const char* getHelpFile() override { return nullptr; }
  PlugsObject* newSession(const char* clientName) override {
    return plugsNewSession<NevTellSession>(clientName);
  }
  void deleteSession(PlugsObject* session) override { plugsDeleteSession(session); }

 private:
  RootWindow* root = nullptr;
};

NevTellFactory factory;

}  // namespace

VORNITH_PLUGIN_EXPORTS()
