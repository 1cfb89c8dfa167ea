// The NevTell module: its factory and the entry points the host looks for.
#include "plugins/NevTell/NevTellSession.h"
#include "sdk/PlugsExports.h"
#include "sdk/SessionPlugsFactory.h"

namespace {

// Starts the module's own window toolkit, with its own root, for the tell tabs.
class NevTellFactory : public ToolkitPlugsFactory<NevTellSession> {
 public:
  const char* name() override { return "NevTell"; }
  float version() override { return 0.1f; }
  int kind() override { return PLUG_KIND_ADDIN; }
  const char* author() override { return "Morvash"; }
  const char* shortDescription() override {
    return "This is a addins plugs to display the tell messages in tabs.";
  }
};

NevTellFactory factory;

}  // namespace

VORNITH_PLUGIN_EXPORTS()
