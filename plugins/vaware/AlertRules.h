// The alert add-in's pure rules: which events can alert, whether a watched word occurs in a
// line, the line an alert shows and how long it stays up.
#pragma once

#include <string>

class AlertRules {
 public:
  enum EventKind { NoAlert, TellEvent, WordEvent };

  // By the first three letters of the event name, case ignored: "tel" a tell; "sen", "sho",
  // "emo", "usr" a public line checked for words.
  static EventKind kindOf(const char* eventName);
  // With wordOnly, ASCII letters are not boundaries; without it every byte is.
  static bool isWordBoundary(unsigned char c, bool wordOnly);
  // word (lower-case already) in the lower-cased text, with a boundary (or the text's end) on
  // both sides of a hit. An empty word never matches.
  static bool containsWord(const char* text, const char* word, bool wordOnly);

  static constexpr unsigned kMaxDelayMs = 30000;  // the longest an alert stays up
  static const char* const kCutMark;              // ends a line cut to fit
  // The text up to its first CR or LF.
  static std::string firstLine(const char* text);
  // line itself when it has at most keep bytes; else its first keep bytes at most (never
  // half a UTF-8 character) followed by the cut mark.
  static std::string cutLine(const std::string& line, size_t keep);
  // baseMs plus 60 characters a second, kMaxDelayMs at most: a huge line must not hold a
  // topmost window for half an hour.
  static unsigned hideDelayMs(unsigned baseMs, size_t lineLength);
};
