#include "platform/LineClip.h"

#include <algorithm>
#include <cmath>

namespace vornplatform {
namespace {

// Ends closer than this to the clip are stepped through as they are: the exact pixels of
// ordinary drawing stay untouched.
const int kNear = 1024;
// A cut end lands this far outside the clip, so rounding never brings it inside.
const int kMargin = 2;

bool isNear(const QRect& clip, QPoint p) {
  return p.x() >= clip.left() - kNear && p.x() <= clip.right() + kNear &&
         p.y() >= clip.top() - kNear && p.y() <= clip.bottom() + kNear;
}

// One edge of the Liang-Barsky cut: narrows [t0, t1] so that p + q * t stays inside; false
// when nothing is left.
bool narrow(double q, double p, double* t0, double* t1) {
  if (q == 0) return p >= 0;
  double t = p / q;
  if (q < 0)
    *t0 = std::max(*t0, t);
  else
    *t1 = std::min(*t1, t);
  return *t0 <= *t1;
}

}  // namespace

bool cutFarLine(const QRect& clip, QPoint* a, QPoint* b) {
  if (isNear(clip, *a) && isNear(clip, *b)) return true;
  double left = clip.left() - kMargin, right = clip.right() + kMargin;
  double top = clip.top() - kMargin, bottom = clip.bottom() + kMargin;
  double x = a->x(), y = a->y();
  double dx = static_cast<double>(b->x()) - x, dy = static_cast<double>(b->y()) - y;
  double t0 = 0, t1 = 1;
  if (!narrow(-dx, x - left, &t0, &t1) || !narrow(dx, right - x, &t0, &t1) ||
      !narrow(-dy, y - top, &t0, &t1) || !narrow(dy, bottom - y, &t0, &t1))
    return false;
  QPoint from(static_cast<int>(std::lround(x + t0 * dx)), static_cast<int>(std::lround(y + t0 * dy)));
  QPoint to(static_cast<int>(std::lround(x + t1 * dx)), static_cast<int>(std::lround(y + t1 * dy)));
  if (!isNear(clip, *a)) *a = from;
  if (!isNear(clip, *b)) *b = to;
  return true;
}

}  // namespace vornplatform
