// The NevChat module: its factory and the entry points the host looks for.
#include "lib/RootWindow.h"
#include "plugins/NevChat/NevChatSession.h"
#include "sdk/PlugsExports.h"

namespace {

class NevChatFactory : public VornithPlugsFactory {
 public:
  // The module's own window toolkit, with its own root, for the chat windows.
  int init() override {
    root = new RootWindow();
    initToolkit(plugsModuleInstance(), 101, root);
    return 1;
  }
  void term() override { plugsTermRootWindow(root); }
  const char* name() override { return "NevChat"; }
  float version() override { return 0.1f; }
  int kind() override { return PLUG_KIND_MAIN; }
  const char* author() override { return "Morvash"; }
  const char* shortDescription() override {
    return "This is a main plugs to go to the NevChat server.";
  }
  const char* getHelpFile() override { return nullptr; }
  PlugsObject* newSession(const char* clientName) override {
    return plugsNewSession<NevChatSession>(clientName);
  }
  void deleteSession(PlugsObject* session) override { plugsDeleteSession(session); }

 private:
  RootWindow* root = nullptr;
};

NevChatFactory factory;

}  // namespace

VORNITH_PLUGIN_EXPORTS()
