// Bounds how often a saved login or password answers the server's prompt by itself on one
// connection, so a server that asks without end is not answered without end.
#pragma once

#include "platform/win32.h"

class PromptAnswerLimit {
 public:
  static constexpr int kAnswers = 3;         // automatic answers ...
  static constexpr DWORD kWindowMs = 60000;  // ... within this time

  enum class Verdict {
    Answer,     // the saved value answers; counted
    FirstWait,  // the user answers; the first refusal since the last answer
    Wait,       // the user answers; refused before already
  };

  // Decides about a prompt that arrives at now (milliseconds, GetTickCount's clock).
  Verdict take(DWORD now);
  // A new connection: every answer is allowed again.
  void reset();

 private:
  DWORD times[kAnswers] = {};  // ring of the last answers' times
  int count = 0;               // answers in the ring, up to kAnswers
  int oldest = 0;              // ring slot of the oldest answer
  bool refused = false;
};
