// The v2draw module: its factory and the entry points the host looks for.
#include "plugins/v2draw/DrawSession.h"
#include "sdk/PlugsExports.h"
#include "sdk/SessionPlugsFactory.h"

namespace {

class DrawFactory : public SessionPlugsFactory<DrawSession> {
 public:
  const char* name() override { return "v2draw"; }
  float version() override { return 0.17f; }
  int kind() override { return PLUG_KIND_ADDIN; }
  const char* author() override { return "Drelk"; }
  const char* shortDescription() override { return "Channel dessin."; }
};

DrawFactory factory;

}  // namespace

// The older, shorter services table is enough: nothing here uses the host settings entries.
VORNITH_PLUGIN_EXPORTS_SHORT()
