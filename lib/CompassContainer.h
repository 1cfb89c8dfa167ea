// Lays out up to five children: a centre and four edges (north, east, south, west). Edge sizes
// can be dragged; priorities decide which of two meeting edges owns the corner between them.
#pragma once

#include "lib/Container.h"

class CompassContainer : public Container {
 public:
  enum Region { Centre = 0, North = 1, East = 2, South = 3, West = 4, RegionCount = 5 };

  CompassContainer(const char* name, bool autoCollapse);

  const char* typeName() const override;
  void update() override;
  bool onSize(int type, int width, int height) override;
  bool onMouseMove(int buttons, int x, int y) override;
  bool onMouseButton(int buttons, int x, int y, bool down) override;
  void onChildRemoved(Window* child) override;

  // Puts child into region (destroying the one there). A size <= 0 keeps the region's size,
  // a priority < 0 keeps its priority.
  virtual void setRegion(Window* child, int region, int size, int priority);
  virtual void hideRegion(int region);
  virtual void showRegion(int region);
  // The stored size; negative while auto-collapse keeps the region hidden.
  virtual int regionSize(int region);
  virtual int regionLeft(int region);
  virtual int regionTop(int region);
  virtual int regionWidth(int region);
  virtual int regionHeight(int region);
  // Picks the region whose gap lies at (x, y) and makes it the one a drag resizes.
  virtual int hitRegion(int x, int y);

  int getDragRegion() const { return dragRegion; }
  bool isRegionShown(int region) const;

 private:
  struct RegionState {
    Window* child;
    unsigned char shown;
    int size;
    int priority;
  };

  static bool validRegion(int region) { return region >= 0 && region < RegionCount; }
  bool present(int region);
  int magnitude(int region);
  int prio(int region);
  bool reservesGap(int region);
  int edgeShare(int region);
  void collapse();
  void setDragCursor();
  int centreExtentAcross(int region);
  void dragBy(int step);

  RegionState regions[RegionCount];
  unsigned char autoCollapse;
  int dragRegion = North;
  bool dragHorizontal = true;
  WORD dragOrigin = 0;
};
