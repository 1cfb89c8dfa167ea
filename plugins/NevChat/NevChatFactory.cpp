// Placeholder until the factory lands: the module's entry points and its factory.
#include "plugins/NevChat/NevChatSession.h"
#include "sdk/PlugsExports.h"

namespace {

class NevChatFactory : public VornithPlugsFactory {
 public:
  int init() override { return 1; }
  void term() override {}
  const char* name() override { return "NevChat"; }
  float version() override { return 0.1f; }
  int kind() override { return PLUG_KIND_MAIN; }
  const char* author() override { return "Morvash"; }
  const char* shortDescription() override {
    return "This is a main plugs to go to the NevChat server.";
  }
  const char* getHelpFile() override { return nullptr; }
  PlugsObject* newSession(const char* clientName) override {
    return plugsNewSession<NevChatSession>(clientName);
  }
  void deleteSession(PlugsObject* session) override { plugsDeleteSession(session); }
};

NevChatFactory factory;

}  // namespace

VORNITH_PLUGIN_EXPORTS()
