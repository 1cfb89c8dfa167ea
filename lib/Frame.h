// A captioned group box around one client window; the caption is the frame's name.
// The client sits inside the box's border, below the caption's text height.
#pragma once

#include "lib/WindowContainer.h"

class Frame : public WindowContainer {
 public:
  explicit Frame(const char* name);

  const char* typeName() const override;
  void create() override;
  bool onSize(int type, int width, int height) override;
  void setClient(Window* window) override;

  HWND getGroupBox() const { return groupBox; }

 private:
  // The caption height: the text height of the group box's device context.
  int captionHeight();
  void placeClient(int width, int height);

  HWND groupBox = nullptr;
};
