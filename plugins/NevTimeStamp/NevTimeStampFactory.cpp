// The NevTimeStamp module: its factory and the entry points the host looks for.
#include "plugins/NevTimeStamp/NevTimeStampSession.h"
#include "sdk/PlugsExports.h"
#include "sdk/SessionPlugsFactory.h"

namespace {

// Starts the module's own window toolkit, for the setup page.
class NevTimeStampFactory : public ToolkitPlugsFactory<NevTimeStampSession> {
 public:
  const char* name() override { return "NevTimeStamp"; }
  float version() override { return 0.1f; }
  int kind() override { return PLUG_KIND_INOUT; }
  const char* author() override { return "Morvash"; }
  const char* shortDescription() override { return "Time Stamp Information."; }
};

NevTimeStampFactory factory;

}  // namespace

VORNITH_PLUGIN_EXPORTS()
