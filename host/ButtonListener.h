// What a setup page's owner implements to hear its buttons: the id given to the button when
// it was made.
#pragma once

class ButtonListener {
 public:
  virtual void onButton(int id) = 0;

 protected:
  ~ButtonListener() = default;
};
