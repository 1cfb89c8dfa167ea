// The vtray module: its factory and the entry points the host looks for.
#include "plugins/vtray/VtraySession.h"
#include "sdk/PlugsExports.h"
#include "sdk/SessionPlugsFactory.h"

namespace {

class VtrayFactory : public SessionPlugsFactory<VtraySession> {
 public:
  const char* name() override { return "Vtray"; }
  float version() override { return 0.1f; }
  int kind() override { return PLUG_KIND_SYSTEM; }
  const char* author() override { return "Druvo"; }
  const char* shortDescription() override { return "Vornith 2 in the tray!"; }
};

VtrayFactory factory;

}  // namespace

VORNITH_PLUGIN_EXPORTS()
