#include "lib/CompassContainer.h"

#include <cstdlib>

CompassContainer::CompassContainer(const char* name, bool autoCollapse)
    : Container(name), autoCollapse(autoCollapse ? 1 : 0) {
  for (int r = 0; r < RegionCount; r++) regions[r] = {nullptr, 1, 1, 1024};
  regions[North].size = regions[South].size = 21;
  regions[East].size = regions[West].size = 100;
}

const char* CompassContainer::typeName() const { return "compas container"; }

bool CompassContainer::isRegionShown(int region) const {
  return validRegion(region) && regions[region].shown;
}

bool CompassContainer::present(int region) {
  const RegionState& s = regions[region];
  return s.child && s.child->isVisible() && s.shown;
}

int CompassContainer::magnitude(int region) { return std::abs(regions[region].size); }

int CompassContainer::prio(int region) { return present(region) ? regions[region].priority : -1; }

// A region with a child that is shown keeps its gap even while the child hides itself.
bool CompassContainer::reservesGap(int region) {
  return regions[region].child && regions[region].shown;
}

int CompassContainer::edgeShare(int region) {
  if (present(region) && regions[region].size != 0) return magnitude(region) + spacing;
  return reservesGap(region) ? spacing : 0;
}

int CompassContainer::regionSize(int region) {
  return validRegion(region) ? regions[region].size : 0;
}

int CompassContainer::regionLeft(int region) {
  switch (region) {
    case Centre:
      return (present(West) ? magnitude(West) : 0) + (reservesGap(West) ? spacing : 0);
    case North:
    case South:
      return prio(region) < prio(West) ? magnitude(West) + spacing : 0;
    case East:
      return present(East) ? width - magnitude(East) : width;
    default:
      return 0;
  }
}

int CompassContainer::regionTop(int region) {
  switch (region) {
    case Centre:
      return (present(North) ? magnitude(North) : 0) + (reservesGap(North) ? spacing : 0);
    case South:
      return present(South) ? height - magnitude(South) : height;
    case East:
    case West:
      if (prio(North) < prio(region)) return 0;
      return present(North) ? magnitude(North) + spacing : spacing;
    default:
      return 0;
  }
}

int CompassContainer::regionWidth(int region) {
  switch (region) {
    case Centre:
      return width - edgeShare(West) - edgeShare(East);
    case North:
    case South:
      return width - (prio(region) < prio(West) ? edgeShare(West) : 0) -
             (prio(region) < prio(East) ? edgeShare(East) : 0);
    case East:
    case West:
      return present(region) ? magnitude(region) : 0;
    default:
      return 0;
  }
}

int CompassContainer::regionHeight(int region) {
  switch (region) {
    case Centre:
      return height - edgeShare(North) - edgeShare(South);
    case North:
    case South:
      return present(region) ? magnitude(region) : 0;
    case East:
    case West:
      return height - (prio(North) >= prio(region) ? edgeShare(North) : 0) -
             (prio(South) >= prio(region) ? edgeShare(South) : 0);
    default:
      return 0;
  }
}

int CompassContainer::centreExtentAcross(int region) {
  return region == North || region == South ? regionHeight(Centre) : regionWidth(Centre);
}

// Hides edge regions that would take more than twice the centre's extent, remembering their
// size as a negative value; each pass first brings every collapsed region back, so the layout
// may alternate while the container stays too small.
void CompassContainer::collapse() {
  for (RegionState& s : regions)
    if (s.size < 0) s.shown = 1;
  static const int order[] = {North, West, South, East};
  for (int r : order) {
    if (present(r) && magnitude(r) > 2 * centreExtentAcross(r) && prio(Centre) >= prio(r)) {
      regions[r].size = -magnitude(r);
      regions[r].shown = 0;
    }
  }
  for (int r = 0; r < RegionCount; r++) {
    if (regions[r].size >= 0) continue;
    if (regions[r].shown) {
      regions[r].size = -regions[r].size;
      showRegion(r);
    } else {
      hideRegion(r);
    }
  }
}

void CompassContainer::update() {
  if (autoCollapse) collapse();
  for (int r = 0; r < RegionCount; r++)
    if (present(r))
      regions[r].child->move(regionLeft(r), regionTop(r), regionWidth(r), regionHeight(r));
}

bool CompassContainer::onSize(int, int, int) {
  update();
  return true;
}

void CompassContainer::onChildRemoved(Window* child) {
  int region = child->getLayoutValue();
  if (validRegion(region) && regions[region].child == child) regions[region].child = nullptr;
  update();
}

void CompassContainer::setRegion(Window* child, int region, int size, int priority) {
  if (!child || !validRegion(region)) return;
  if (regions[region].child) regions[region].child->destroy();
  RegionState& s = regions[region];
  s.child = child;
  if (priority >= 0) s.priority = priority;
  if (size > 0) s.size = size;
  child->setLayoutValue(region);
  child->createIn(this);
  if (!s.shown) child->hideKeep();
  update();
}

void CompassContainer::hideRegion(int region) {
  if (!validRegion(region)) return;
  if (regions[region].child) regions[region].child->hideKeep();
  regions[region].shown = 0;
}

void CompassContainer::showRegion(int region) {
  if (!validRegion(region)) return;
  if (regions[region].child) regions[region].child->showKeep();
  regions[region].shown = 1;
}

int CompassContainer::hitRegion(int x, int y) {
  int left = regionLeft(Centre), top = regionTop(Centre);
  int right = left + regionWidth(Centre) - 1, bottom = top + regionHeight(Centre) - 1;
  int region;
  if (x < left) {
    if (y < top)
      region = prio(North) < prio(West) ? West : North;
    else if (y > bottom)
      region = prio(South) < prio(West) ? West : South;
    else
      region = West;
  } else if (x <= right) {
    region = y < top ? North : South;
  } else {
    if (y < top)
      region = prio(North) < prio(East) ? East : North;
    else if (y > bottom)
      region = prio(South) >= prio(East) ? South : East;
    else
      region = East;
  }
  dragRegion = region;
  dragHorizontal = region == North || region == South;
  dragOrigin = static_cast<WORD>(dragHorizontal ? y : x);
  return region;
}

void CompassContainer::setDragCursor() {
  SetCursor(LoadCursorA(nullptr, dragHorizontal ? IDC_SIZENS : IDC_SIZEWE));
}

bool CompassContainer::onMouseButton(int buttons, int x, int y, bool down) {
  if (resizeLocked || !(buttons & 1)) return true;
  if (down) {
    captureMouse();
    hitRegion(x, y);
    setDragCursor();
  } else {
    releaseMouse();
    update();
  }
  return true;
}

bool CompassContainer::onMouseMove(int, int x, int y) {
  if (!captured) {
    if (!resizeLocked) {
      hitRegion(x, y);
      setDragCursor();
    }
    return true;
  }
  setDragCursor();
  if (!regions[dragRegion].shown) {
    releaseMouse();
    update();
    return true;
  }
  // A 16-bit difference: pointer positions past the client's edge wrap around.
  dragBy(static_cast<SHORT>(static_cast<WORD>((dragHorizontal ? y : x) - dragOrigin)));
  return true;
}

// North and west grow with a positive step, south and east with a negative one; each stops
// at size 0 (south and east: one gap) and where the centre would vanish.
void CompassContainer::dragBy(int step) {
  int r = dragRegion;
  RegionState& s = regions[r];
  int g = spacing;
  if (r == North || r == West) {
    int limit = (r == North ? regionTop(South) : regionLeft(East)) - 2 * g;
    if (step < 0 && s.size + step < 0)
      step = -s.size;
    else if (step > 0 && magnitude(r) + step > limit)
      step = limit - magnitude(r);
    s.size += step;
  } else {
    int opposite = r == South ? North : West;
    int nearEdge = r == South ? regionTop(South) : regionLeft(East);
    int oppositeSize = present(opposite) ? magnitude(opposite) : 0;
    if (step < 0 && nearEdge + step - g < oppositeSize + g)
      step = oppositeSize + 2 * g - nearEdge;
    else if (step > 0 && magnitude(r) - g < step)
      step = magnitude(r) - g;
    s.size -= step;
  }
  if (autoCollapse && present(r)) {
    int centre = centreExtentAcross(r);
    if (magnitude(r) > 2 * centre && prio(Centre) >= prio(r)) s.size = 2 * (centre + s.size) / 3;
  }
  dragOrigin = static_cast<WORD>(dragOrigin + step);
  update();
}
