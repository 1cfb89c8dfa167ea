// One segment of a whiteboard as boards keep it and peers send it: kind, colour and pen width
// numbers and two points in the board's client coordinates, each field at its stored width.
#pragma once

#include <cstdint>
#include <string>

struct EventData;

struct DrawLine {
  enum { Segment = 3 };  // the only kind that is drawn

  uint8_t kind = Segment;
  uint8_t color = 0;
  int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  uint8_t width = 0;

  // A segment from numbers as given (mouse points, parsed text), cut to the stored widths.
  static DrawLine of(int color, int x1, int y1, int x2, int y2, int width);

  bool isDot() const { return x1 == x2 && y1 == y2; }

  // The message of the line for the channel ("}l c x1 y1 x2 y2 w\n") or, with a nick, for one
  // user ("senddata nick }l ...\n"): colour and width as signed 8-bit numbers.
  std::string format(const char* nick) const;

  // The line an event's variables describe; false when a coordinate is missing or empty. A
  // missing colour or width reads as 0.
  static bool fromEvent(const EventData& data, DrawLine* line);
};
