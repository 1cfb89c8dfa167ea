#include "lib/Line.h"

#include <cstdlib>

Line::Line(const char* name, bool vertical) : Container(name), vertical(vertical ? 1 : 0) {}

const char* Line::typeName() const { return "line"; }

int Line::lengthOf(Window* child) { return vertical ? child->height : child->width; }

int Line::startOf(Window* child) { return vertical ? child->top : child->left; }

// Moves a child to a new start and length along the line, keeping its other coordinates.
void Line::placeAlong(Window* child, int start, int length) {
  if (vertical)
    child->move(child->left, start, child->width, length);
  else
    child->move(start, child->top, length, child->height);
}

void Line::setResizeCursor() {
  SetCursor(LoadCursorA(nullptr, vertical ? IDC_SIZENS : IDC_SIZEWE));
}

void Line::update() {
  // Weights that add up to nothing leave nothing to share out.
  if (totalWeight == 0) return;
  int length = vertical ? height : width;
  int across = vertical ? width : height;
  int pos = 0;
  for (Window* child = firstChild; child; child = child->nextSibling()) {
    if (!child->isVisible()) continue;
    int extent = (length + spacing) * child->getLayoutValue() / totalWeight;
    if (vertical)
      child->move(0, pos, across, extent - spacing);
    else
      child->move(pos, 0, extent - spacing, across);
    pos += extent;
  }
}

bool Line::onSize(int, int, int) {
  update();
  return true;
}

void Line::addChild(Window* window, int weight) {
  if (!window) return;
  window->setLayoutValue(std::abs(weight));
  totalWeight += window->getLayoutValue();
  window->createIn(this);
  visibleCount++;
  if (weight < 0) window->hide();
  update();
}

bool Line::onChildVisibility(Window* child) {
  int sign = child->isVisible() ? 1 : -1;
  totalWeight += sign * child->getLayoutValue();
  visibleCount += sign;
  return true;
}

void Line::onChildRemoved(Window* child) {
  if (!child->isVisible()) return;
  totalWeight -= child->getLayoutValue();
  visibleCount--;
  update();
}

bool Line::onMouseButton(int buttons, int x, int y, bool down) {
  if (resizeLocked || !(buttons & 1)) return true;
  if (down) {
    captureMouse();
    dragOrigin = static_cast<WORD>(vertical ? y : x);
    dragChild = nullptr;
    for (Window* child = firstChild; child; child = child->nextSibling()) {
      if (startOf(child) > dragOrigin) {
        dragChild = child;
        break;
      }
    }
    if (dragChild && dragChild->previousSibling()) setResizeCursor();
  } else {
    releaseMouse();
    rebalance();
    dragChild = nullptr;
  }
  return true;
}

bool Line::onMouseMove(int, int x, int y) {
  if (!resizeLocked) setResizeCursor();
  if (!captured) return true;
  Window* before = dragChild ? dragChild->previousSibling() : lastChild;
  if (!before || !dragChild) return true;
  // The step is a 16-bit difference, so a pointer dragged past the client's edge (whose
  // coordinates wrap) still gives a small negative step.
  int step = static_cast<SHORT>(static_cast<WORD>((vertical ? y : x) - dragOrigin));
  if (step < 0 && step < -lengthOf(before)) step = -lengthOf(before);
  if (step > 0 && step > lengthOf(dragChild)) step = lengthOf(dragChild);
  placeAlong(before, startOf(before), lengthOf(before) + step);
  placeAlong(dragChild, startOf(dragChild) + step, lengthOf(dragChild) - step);
  dragOrigin = static_cast<WORD>(dragOrigin + step);
  return true;
}

void Line::rebalance() {
  if (!dragChild) return;
  Window* before = dragChild->previousSibling();
  if (!before) return;
  int sum = before->getLayoutValue() + dragChild->getLayoutValue();
  int span = startOf(dragChild) + lengthOf(dragChild) + spacing - startOf(before);
  // Two children squeezed into nothing give no proportion to re-split by.
  if (span == 0) return;
  int first = (startOf(dragChild) - startOf(before)) * sum / span;
  before->setLayoutValue(first);
  dragChild->setLayoutValue(sum - first);
  update();
}
