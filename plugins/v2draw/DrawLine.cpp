#include "plugins/v2draw/DrawLine.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "sdk/EventData.h"

namespace {

// A decimal number as atoi reads it, kept inside int when the text holds a larger one.
int numberOf(const char* text) {
  if (text == nullptr) return 0;
  long long value = std::strtoll(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

bool present(const char* text) { return text != nullptr && text[0] != '\0'; }

}  // namespace

DrawLine DrawLine::of(int color, int x1, int y1, int x2, int y2, int width) {
  DrawLine line;
  line.color = static_cast<uint8_t>(color);
  line.x1 = static_cast<int16_t>(x1);
  line.y1 = static_cast<int16_t>(y1);
  line.x2 = static_cast<int16_t>(x2);
  line.y2 = static_cast<int16_t>(y2);
  line.width = static_cast<uint8_t>(width);
  return line;
}

std::string DrawLine::format(const char* nick) const {
  char fields[80];
  std::snprintf(fields, sizeof fields, "}l %d %d %d %d %d %d\n", static_cast<int8_t>(color), x1, y1,
                x2, y2, static_cast<int8_t>(width));
  if (nick == nullptr) return fields;
  return std::string("senddata ") + nick + " " + fields;
}

bool DrawLine::fromEvent(const EventData& data, DrawLine* line) {
  const char* x1 = data.getValue("x1");
  const char* y1 = data.getValue("y1");
  const char* x2 = data.getValue("x2");
  const char* y2 = data.getValue("y2");
  if (!present(x1) || !present(y1) || !present(x2) || !present(y2)) return false;
  *line = of(numberOf(data.getValue("color")), numberOf(x1), numberOf(y1), numberOf(x2),
             numberOf(y2), numberOf(data.getValue("width")));
  return true;
}
