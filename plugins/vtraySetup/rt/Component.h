// The base of everything on a form: a name, a Tag, an owner that frees it, the components it
// owns, and the class name the skin matches against.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace frt {

class Component {
 public:
  explicit Component(Component* owner);
  virtual ~Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  virtual const char* className() const { return "TComponent"; }
  // True when this component's class or one of its bases answers name.
  virtual bool inheritsFrom(const std::string& name) const { return name == "TComponent"; }

  std::string name;
  int tag = 0;
  Component* owner() const { return owner_; }
  const std::vector<Component*>& components() const { return components_; }
  // Called once when the component is being freed, before its owned components go.
  std::vector<std::function<void(Component*)>> freeNotices;

 protected:
  // Frees the owned components, last made first; a derived class whose parts the components
  // still use calls it from its own destructor.
  void destroyComponents();

 private:
  Component* owner_;
  std::vector<Component*> components_;
};

}  // namespace frt
