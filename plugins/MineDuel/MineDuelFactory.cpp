// The MineDuel module: its factory and the entry points the host looks for.
#include "lib/RootWindow.h"
#include "plugins/MineDuel/MineDuelSession.h"
#include "sdk/PlugsExports.h"

namespace {

class MineDuelFactory : public VornithPlugsFactory {
 public:
  // The module's own window toolkit, with its own root, for the game windows.
  int init() override {
    root = new RootWindow();
    initToolkit(plugsModuleInstance(), 101, root);
    return 1;
  }
  void term() override { plugsTermRootWindow(root); }
  const char* name() override { return "MineDuel"; }
  float version() override { return 0.86f; }
  int kind() override { return PLUG_KIND_ADDIN; }
  const char* author() override { return "Morvash & Fenli"; }
  const char* shortDescription() override { return "It's a multiplayer mineduel :) Enjoy it !"; }
  const char* getHelpFile() override { return nullptr; }
  PlugsObject* newSession(const char* clientName) override {
    return plugsNewSession<MineDuelSession>(clientName);
  }
  void deleteSession(PlugsObject* session) override { plugsDeleteSession(session); }

 private:
  RootWindow* root = nullptr;
};

MineDuelFactory factory;

}  // namespace

VORNITH_PLUGIN_EXPORTS()
