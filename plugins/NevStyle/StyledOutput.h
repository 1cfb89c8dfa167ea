// The styled output of the chat plug-ins: a colour key, then a font key, then a printf-style
// print whose trailing line break is held back until more text follows; emoticons as pictures.
// What a peer sends is bounded on its way into the pane: a paragraph shows its first few KB
// and at most so many pictures, and the pane keeps a bounded number of lines and bytes.
#pragma once

#include <cstdarg>
#include <functional>
#include <string>

#include "lib/Font.h"
#include "lib/RichEdit.h"
#include "lib/String.h"
#include "platform/win32.h"
#include "plugins/NevStyle/EmoticonPictures.h"
#include "sdk/PlugsSession.h"

class StyledOutput {
 public:
  enum { BufferSize = 4096 };
  // A paragraph shows at most this many bytes, then the cut mark, and nothing more up to its
  // break: laying out a long paragraph costs the GUI thread in proportion to its length.
  // Past so many pictures, a paragraph's emoticons stay text.
  enum { ParagraphShown = 4096, PicturesPerParagraph = 64 };
  static const char kCutMark[];
  // The pane keeps its most recent lines and bytes; both are looked at every so many line
  // breaks. Each removal costs the pane a pass over all it keeps, so removals come in batches.
  enum { DefaultLineLimit = 5000, LinesBetweenChecks = 250, DefaultByteLimit = 8 << 20 };
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
  // The plug-in named in the console line about an unknown font key ("NevChat" unless set).
  void setOwnerName(const char* name) { ownerName = name != nullptr ? name : ""; }
  // Pictures loaded once by the owner for many panes (null: the pane's own, see pictures()).
  void sharePictures(const EmoticonPictures* shared) { sharedPictures = shared; }
  // The owner's live settings (each may be null: off).
  void bindFlags(const unsigned char* withEmptyLine, const unsigned char* emoticons,
                 const unsigned char* doubleEmoticons);

  void setTextColor(const char* key);
  // An unknown key is reported on the host console and the font stays; false then.
  bool setTextFont(const char* key);
  void print(const char* format, ...) VORN_PRINTF(2, 3);
  void vprint(const char* format, va_list args) VORN_PRINTF(2, 0);
  // Appends the text as it is (within the paragraph bound), emoticons turned into pictures
  // when enabled.
  void printText(const char* text);

  // No more than lines display lines stay in the pane (0: no limit).
  void setLineLimit(int lines, int checkEvery = LinesBetweenChecks);
  // No more than bytes of text stay in the pane (0: no limit).
  void setByteLimit(int bytes) { byteLimit = bytes > 0 ? bytes : 0; }
  void setTrimListener(TrimListener listener) { onTrimmed = std::move(listener); }
  // Deletes the lines past the limits from the top in one edit, cut at a paragraph's start,
  // and keeps the view where a reader who scrolled back left it; returns the characters removed.
  int trimToLimit();

  bool hasPendingNewline() const { return pendingNewline != 0; }
  void setPendingNewline(bool on) { pendingNewline = on ? 1 : 0; }
  EmoticonPictures& pictures() { return loaded; }

 private:
  static bool isOn(const unsigned char* flag) { return flag != nullptr && *flag != 0; }
  void appendRun(const char* text, int length);
  void showPiece(const char* text, size_t content, size_t breaks);
  void appendShown(const char* text);
  void startParagraph();
  int cutPosition(HWND pane, int count, int* removed);
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
  std::string piece;         // what one paragraph's piece shows
  int paragraphBytes = 0;    // of the last paragraph, shown so far
  int paragraphPictures = 0;
  bool paragraphCut = false;  // the last paragraph reached its bound
  EmoticonPictures loaded;
  const EmoticonPictures* sharedPictures = nullptr;
  String ownerName{"NevChat"};
  int lineLimit = DefaultLineLimit;
  int byteLimit = DefaultByteLimit;
  int checkEvery = LinesBetweenChecks;
  int breaksSinceCheck = 0;
  TrimListener onTrimmed;
};
