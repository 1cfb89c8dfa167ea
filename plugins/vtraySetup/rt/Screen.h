// The runtime's list of live forms, in the order they were made, and notices to listeners
// when a form comes or goes.
#pragma once

#include <functional>
#include <vector>

namespace frt {

class Form;

class Screen {
 public:
  using Notice = std::function<void(Form* form, bool inserted)>;

  static Screen& instance();
  const std::vector<Form*>& forms() const { return forms_; }
  void add(Form* form);
  void remove(Form* form);
  int listen(Notice notice);
  void unlisten(int id);

 private:
  void tell(Form* form, bool inserted);

  std::vector<Form*> forms_;
  int nextId_ = 1;
  std::vector<std::pair<int, Notice>> listeners_;
};

}  // namespace frt
