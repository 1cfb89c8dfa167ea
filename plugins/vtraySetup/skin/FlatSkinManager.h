// The one registry of skin components per loaded library: it starts when the library loads
// and ends when it unloads, and lets the first active component that does not decline also
// skin the forms that have no component of their own, forms made later included.
#pragma once

#include <vector>

namespace frt {
class Form;
}

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
  // Hands the foreign forms to the component that skins them now, and skins any not yet done.
  void refresh();
  const std::vector<frt::Form*>& skinnedForms() const { return skinned_; }

 private:
  FlatSkinManager();
  ~FlatSkinManager();
  void formNoticed(frt::Form* form, bool inserted);
  // The application window's messages: forms waiting are skinned at the first one.
  bool seeMessage();
  void skinIfForeign(frt::Form* form);
  void forget(frt::Form* form);

  std::vector<FlatSkin*> skins_;
  FlatSkin* current_ = nullptr;
  std::vector<frt::Form*> skinned_;
  std::vector<frt::Form*> waiting_;
  int screenListener_ = 0;
  int applicationListener_ = 0;
};

}  // namespace skin
