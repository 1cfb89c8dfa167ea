// The MineDuel module: its factory and the entry points the host looks for.
#include "plugins/MineDuel/MineDuelSession.h"
#include "sdk/PlugsExports.h"
#include "sdk/SessionPlugsFactory.h"

namespace {

// Starts the module's own window toolkit, with its own root, for the game windows.
class MineDuelFactory : public ToolkitPlugsFactory<MineDuelSession> {
 public:
  const char* name() override { return "MineDuel"; }
  float version() override { return 0.86f; }
  int kind() override { return PLUG_KIND_ADDIN; }
  const char* author() override { return "Morvash & Fenli"; }
  const char* shortDescription() override { return "It's a multiplayer mineduel :) Enjoy it !"; }
};

MineDuelFactory factory;

}  // namespace

VORNITH_PLUGIN_EXPORTS()
