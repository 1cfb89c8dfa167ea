// A layout line: children side by side (left to right) or stacked (top to bottom), each taking
// a share of the length by its weight, with gaps the user can drag to re-split two neighbours.
#pragma once

#include "lib/Container.h"

class Line : public Container {
 public:
  Line(const char* name, bool vertical);

  const char* typeName() const override;
  // Lays the visible children out along the line by their weights.
  void update() override;
  bool onSize(int type, int width, int height) override;
  bool onMouseMove(int buttons, int x, int y) override;
  bool onMouseButton(int buttons, int x, int y, bool down) override;
  bool onChildVisibility(Window* child) override;
  void onChildRemoved(Window* child) override;

  // Creates the window in the line with the given weight; a negative weight adds it hidden,
  // taking its share (the absolute value) once shown.
  virtual void addChild(Window* window, int weight);
  // Re-splits the weights of the two children around the dragged gap in proportion to their
  // current extents, keeping their sum.
  virtual void rebalance();

  bool isVertical() const { return vertical; }
  int getTotalWeight() const { return totalWeight; }
  int getVisibleCount() const { return visibleCount; }

 private:
  int lengthOf(Window* child);
  int startOf(Window* child);
  void placeAlong(Window* child, int start, int length);
  void setResizeCursor();

  unsigned char vertical;
  int totalWeight = 0;
  WORD dragOrigin = 0xFFFF;
  Window* dragChild = nullptr;
  int visibleCount = 0;
};
