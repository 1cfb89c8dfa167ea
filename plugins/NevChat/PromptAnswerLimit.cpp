// The ring of the last automatic answers' times.
#include "plugins/NevChat/PromptAnswerLimit.h"

PromptAnswerLimit::Verdict PromptAnswerLimit::take(DWORD now) {
  if (count < kAnswers) {
    times[(oldest + count) % kAnswers] = now;
    ++count;
  } else if (now - times[oldest] >= kWindowMs) {  // unsigned: the tick count may wrap
    times[oldest] = now;
    oldest = (oldest + 1) % kAnswers;
  } else {
    Verdict verdict = refused ? Verdict::Wait : Verdict::FirstWait;
    refused = true;
    return verdict;
  }
  refused = false;
  return Verdict::Answer;
}

void PromptAnswerLimit::reset() {
  count = 0;
  oldest = 0;
  refused = false;
}
