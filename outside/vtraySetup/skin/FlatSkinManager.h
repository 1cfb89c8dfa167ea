// The one registry of skin components per loaded library: it starts when the library loads
// and ends when it unloads, and names the component that would skin forms without their own.
#pragma once

#include <vector>

namespace skin {

class FlatSkin;

class FlatSkinManager {
 public:
  // The manager, made when first asked for (at load at the latest).
  static FlatSkinManager& instance();
  // Ends the manager at unload, after the forms it served are gone.
  static void end();
  void add(FlatSkin* skin);
  void remove(FlatSkin* skin);
  const std::vector<FlatSkin*>& skins() const { return skins_; }
  // The first active component that does not leave foreign forms alone, or null.
  FlatSkin* foreignSkinner() const;

 private:
  std::vector<FlatSkin*> skins_;
};

}  // namespace skin
