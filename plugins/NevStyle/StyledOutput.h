// The styled output of the chat plug-ins: a colour key, then a font key, then a printf-style
// print whose trailing line break is held back until more text follows; emoticons as pictures.
#pragma once

#include <cstdarg>
#include <functional>

#include "lib/Font.h"
#include "lib/RichEdit.h"
#include "lib/String.h"
#include "platform/win32.h"
#include "plugins/NevStyle/EmoticonPictures.h"
#include "sdk/PlugsSession.h"

class StyledOutput {
 public:
  enum { BufferSize = 4096 };
  // The pane keeps its most recent lines; the count is looked at every so many line breaks.
  // Each removal costs the pane a pass over all it keeps, so removals come in batches.
  enum { DefaultLineLimit = 5000, LinesBetweenChecks = 250 };
  // Told, after the oldest lines went, how many characters went from the top.
  using TrimListener = std::function<void(int removed)>;

  // The session answers the colour and font keys and owns the host console.
  explicit StyledOutput(PlugsSession* session);
  ~StyledOutput();
  StyledOutput(const StyledOutput&) = delete;
  StyledOutput& operator=(const StyledOutput&) = delete;

  // The pane the text goes to (null: printing does nothing); it gets a font of its own,
  // starting from face and size.
  void setOutput(RichEdit* pane, const char* face, int size);
  RichEdit* getOutput() const { return output; }
  // The system tab highlighted by every print (null: none).
  void setTab(HWND systemTab) { tab = systemTab; }
  // The owner's live settings (each may be null: off).
  void bindFlags(const unsigned char* withEmptyLine, const unsigned char* emoticons,
                 const unsigned char* doubleEmoticons);

  void setTextColor(const char* key);
  // An unknown key is reported on the host console and the font stays; false then.
  bool setTextFont(const char* key);
  void print(const char* format, ...) VORN_PRINTF(2, 3);
  void vprint(const char* format, va_list args) VORN_PRINTF(2, 0);
  // Appends the text as it is, emoticons turned into pictures when enabled.
  void printText(const char* text);

  // No more than lines display lines stay in the pane (0: no limit).
  void setLineLimit(int lines, int checkEvery = LinesBetweenChecks);
  void setTrimListener(TrimListener listener) { onTrimmed = std::move(listener); }
  // Deletes the lines past the limit from the top in one edit, cut at a paragraph's start, and
  // keeps the view where a reader who scrolled back left it; returns the characters removed.
  int trimToLimit();

  bool hasPendingNewline() const { return pendingNewline != 0; }
  void setPendingNewline(bool on) { pendingNewline = on ? 1 : 0; }
  EmoticonPictures& pictures() { return loaded; }

 private:
  static bool isOn(const unsigned char* flag) { return flag != nullptr && *flag != 0; }
  void appendRun(const char* text, int length);
  void countBreaks(int breaks);

  PlugsSession* session;
  RichEdit* output = nullptr;
  Font* font = nullptr;
  HWND tab = nullptr;
  const unsigned char* withEmptyLine = nullptr;
  const unsigned char* emoticons = nullptr;
  const unsigned char* doubleEmoticons = nullptr;
  unsigned char pendingNewline = 0;
  char buffer[BufferSize];
  String run;
  EmoticonPictures loaded;
  int lineLimit = DefaultLineLimit;
  int checkEvery = LinesBetweenChecks;
  int breaksSinceCheck = 0;
  TrimListener onTrimmed;
};
