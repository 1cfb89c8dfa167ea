// Input lines that remember what was entered: Up and Down walk the history using the typed
// text as a prefix, and the extended edit completes the word at the caret from word lists.
#pragma once

#include "lib/SimpleEdit.h"
#include "lib/StringList.h"
#include "lib/TextBuffer.h"

class HistoryEdit : public SimpleEdit {
 public:
  explicit HistoryEdit(const char* name);

  bool onChar(int code) override;
  bool onKey(int key, bool down) override;
  // Stores the line (readable in `typed` by an overriding subclass), then empties the edit.
  bool onEnter() override;

 protected:
  TextBuffer lineBuffer;
  StringList history;
  unsigned char browsing;
  TextBuffer typed;

  // Copies the edit's whole text into `typed`.
  void readLine();

 private:
  void browseUp();
  void browseDown();
  void showFound(const char* found);
};

class HistoryEditEx : public HistoryEdit {
 public:
  explicit HistoryEditEx(const char* name);

  bool onChar(int code) override;
  bool onKey(int key, bool down) override;

  // Added operations, in the order of the virtual table.
  virtual void setCompletionKey(int key);
  // Words separated by blanks; the first-word list completes the line's first word.
  virtual void setWordList(const char* text, bool firstWord);
  // Selects the word at the caret unless text is selected; true when it starts the line.
  virtual bool selectCurrentWord();
  // Selects the current word and copies it (at most 511 characters) for completion.
  virtual bool takeCurrentWord();
  virtual bool completeFrom(TextBuffer& wordList);
  virtual void complete();

 protected:
  int completionKey;
  TextBuffer firstWordList;
  TextBuffer otherWordList;
  char separator;
  CHARRANGE savedSelection;
};
