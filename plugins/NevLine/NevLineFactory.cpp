// The NevLine module: its factory and the entry points the host looks for.
#include "plugins/NevLine/NevLineSession.h"
#include "sdk/PlugsExports.h"
#include "sdk/SessionPlugsFactory.h"

namespace {

// Starts the module's own window toolkit, for the setup page.
class NevLineFactory : public ToolkitPlugsFactory<NevLineSession> {
 public:
  const char* name() override { return "NevLine"; }
  float version() override { return 0.11f; }
  int kind() override { return PLUG_KIND_INOUT; }
  const char* author() override { return "Morvash"; }
  const char* shortDescription() override { return "Full Line Filter."; }
};

NevLineFactory factory;

}  // namespace

VORNITH_PLUGIN_EXPORTS()
