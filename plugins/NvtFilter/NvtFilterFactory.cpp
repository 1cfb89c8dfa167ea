// The NvtFilter module: its factory and the entry points the host looks for. It makes no
// window, so it starts no toolkit.
#include "plugins/NvtFilter/NvtFilterSession.h"
#include "sdk/PlugsExports.h"
#include "sdk/SessionPlugsFactory.h"

namespace {

class NvtFilterFactory : public SessionPlugsFactory<NvtFilterSession> {
 public:
  const char* name() override { return "NvtFilter"; }
  float version() override { return 0.1f; }
  int kind() override { return PLUG_KIND_INOUT; }
  const char* author() override { return "Morvash"; }
  // The raw bytes 255 are part of the text.
  const char* shortDescription() override { return "Telnet filter (\xFF <-> \xFF\xFF, ...)."; }
};

NvtFilterFactory factory;

}  // namespace

VORNITH_PLUGIN_EXPORTS()
