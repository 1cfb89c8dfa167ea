// The vaware module: its factory and the entry points the host looks for.
#include "plugins/vaware/AlertPopup.h"
#include "plugins/vaware/VawareSession.h"
#include "sdk/PlugsExports.h"

namespace {

class VawareFactory : public VornithPlugsFactory {
 public:
  // The pop-up's dialog travels with this module.
  int init() override {
    AlertPopup::registerTemplate(plugsModuleInstance());
    return 1;
  }
  void term() override {}
  const char* name() override { return "Vaware"; }
  float version() override { return 0.1f; }
  int kind() override { return PLUG_KIND_ADDIN; }
  const char* author() override { return "Druvo"; }
  const char* shortDescription() override { return "be aware"; }
  const char* getHelpFile() override { return nullptr; }
  PlugsObject* newSession(const char* clientName) override {
    return plugsNewSession<VawareSession>(clientName);
  }
  void deleteSession(PlugsObject* session) override { plugsDeleteSession(session); }
};

VawareFactory factory;

}  // namespace

VORNITH_PLUGIN_EXPORTS()
