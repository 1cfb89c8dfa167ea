// Integer helpers of the drawing API: scaled division and rectangle arithmetic.
// Rectangles are half-open: a point on the right or bottom edge lies outside.
#include <climits>
#include <cstdint>

#include "platform/win32.h"

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t product = static_cast<int64_t>(a) * b;
  bool negative = (product < 0) != (c < 0);
  // |product| fits in 63 bits (at most 2^62); halves round away from zero.
  uint64_t magnitude =
      product < 0 ? static_cast<uint64_t>(-product) : static_cast<uint64_t>(product);
  uint64_t divisor =
      c < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(c)) : static_cast<uint64_t>(c);
  uint64_t quotient = (magnitude + divisor / 2) / divisor;
  // A result beyond 32 bits is a failure, reported like a zero divisor.
  if (quotient > static_cast<uint64_t>(INT_MAX) + (negative ? 1 : 0)) return -1;
  return negative ? static_cast<int>(-static_cast<int64_t>(quotient)) : static_cast<int>(quotient);
}

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
  if (rect == nullptr) return FALSE;
  rect->left = left;
  rect->top = top;
  rect->right = right;
  rect->bottom = bottom;
  return TRUE;
}

BOOL InflateRect(LPRECT rect, int dx, int dy) {
  if (rect == nullptr) return FALSE;
  rect->left -= dx;
  rect->top -= dy;
  rect->right += dx;
  rect->bottom += dy;
  return TRUE;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy) {
  if (rect == nullptr) return FALSE;
  rect->left += dx;
  rect->top += dy;
  rect->right += dx;
  rect->bottom += dy;
  return TRUE;
}

BOOL PtInRect(const RECT* rect, POINT point) {
  if (rect == nullptr) return FALSE;
  return point.x >= rect->left && point.x < rect->right && point.y >= rect->top &&
         point.y < rect->bottom;
}
