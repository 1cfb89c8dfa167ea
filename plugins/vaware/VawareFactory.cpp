// The vaware module: its factory and the entry points the host looks for.
#include "plugins/vaware/AlertPopup.h"
#include "plugins/vaware/VawareSession.h"
#include "sdk/PlugsExports.h"
#include "sdk/SessionPlugsFactory.h"

namespace {

class VawareFactory : public SessionPlugsFactory<VawareSession> {
 public:
  // The pop-up's dialog travels with this module.
  int init() override {
    AlertPopup::registerTemplate(plugsModuleInstance());
    return 1;
  }
  const char* name() override { return "Vaware"; }
  float version() override { return 0.1f; }
  int kind() override { return PLUG_KIND_ADDIN; }
  const char* author() override { return "Druvo"; }
  const char* shortDescription() override { return "be aware"; }
};

VawareFactory factory;

}  // namespace

VORNITH_PLUGIN_EXPORTS()
