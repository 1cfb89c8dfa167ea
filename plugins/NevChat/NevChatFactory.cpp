// The NevChat module: its factory and the entry points the host looks for.
#include "plugins/NevChat/NevChatSession.h"
#include "sdk/PlugsExports.h"
#include "sdk/SessionPlugsFactory.h"

namespace {

// Starts the module's own window toolkit, with its own root, for the chat windows.
class NevChatFactory : public ToolkitPlugsFactory<NevChatSession> {
 public:
  const char* name() override { return "NevChat"; }
  float version() override { return 0.1f; }
  int kind() override { return PLUG_KIND_MAIN; }
  const char* author() override { return "Morvash"; }
  const char* shortDescription() override {
    return "This is a main plugs to go to the NevChat server.";
  }
};

NevChatFactory factory;

}  // namespace

VORNITH_PLUGIN_EXPORTS()
