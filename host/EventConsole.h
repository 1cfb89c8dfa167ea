// Where the event list and the events-file loader write their reports: the system console in
// the program, a recorder in tests. Colours stay in force until the next setColor.
#pragma once

class EventConsole {
 public:
  virtual ~EventConsole() {}
  virtual void setColor(int red, int green, int blue) = 0;
  virtual void print(const char* text) = 0;

  // Formats into a bounded buffer (longer reports are cut) and prints in the given colour.
  void printColored(int red, int green, int blue, const char* fmt, ...)
      __attribute__((format(printf, 5, 6)));
};

// The program's system console (whatever pane it has at the time) as an event console.
class SystemEventConsole : public EventConsole {
 public:
  void setColor(int red, int green, int blue) override;
  void print(const char* text) override;

  // The one instance the event lists use when they are given no console.
  static SystemEventConsole* instance();
};
