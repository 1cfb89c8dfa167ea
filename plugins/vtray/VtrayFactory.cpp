// The vtray module: its factory and the entry points the host looks for.
#include "plugins/vtray/VtraySession.h"
#include "sdk/PlugsExports.h"

namespace {

class VtrayFactory : public VornithPlugsFactory {
 public:
  int init() override { return 1; }
  void term() override {}
  const char* name() override { return "Vtray"; }
  float version() override { return 0.1f; }
  int kind() override { return PLUG_KIND_SYSTEM; }
  const char* author() override { return "Druvo"; }
  const char* shortDescription() override { return "Vornith 2 in the tray!"; }
  const char* getHelpFile() override { return nullptr; }
  PlugsObject* newSession(const char* clientName) override {
    return plugsNewSession<VtraySession>(clientName);
  }
  void deleteSession(PlugsObject* session) override { plugsDeleteSession(session); }
};

VtrayFactory factory;

}  // namespace

VORNITH_PLUGIN_EXPORTS()
