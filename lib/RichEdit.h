// The read-only scrolling output pane of the chat windows: text appended at the end in the
// pane's colour and font, recoloured ranges, links that open when clicked, inline pictures,
// and an auto-scroll state that leaves the view alone while the user reads back.
#pragma once

#include "lib/Font.h"
#include "lib/RichEditBase.h"

class RichEdit : public RichEditBase {
 public:
  // Constructor flags.
  enum { NoVerticalScroll = 1, HorizontalScroll = 2 };

  RichEdit(const char* name, int flags);
  // Releases the pane's font.
  ~RichEdit() override;

  const char* typeName() const override;
  bool onMessage(const MSG& message) override;
  // Keeps the end in view after a resize.
  bool onSize(int type, int w, int h) override;
  void create() override;
  // Turns auto-scroll back on, then empties the pane.
  void clear() override;
  // The pane's text operation appends (see appendText).
  void setText(const char* text) override;
  int getTextLength() override;
  // Stored only: used by later appends.
  void setTextColour(COLORREF colour) override;
  void setBackgroundColour(COLORREF colour) override;

  // Appends text at the end in the current colour and font; the pane's text operation, so a
  // subclass changes it by overriding setText.
  void appendText(const char* text) { setText(text); }

  // Added operations, in the order of the virtual table.
  // Inserts the bitmap at the selection; true when it went in. The bitmap stays the caller's.
  virtual bool appendPicture(HBITMAP bitmap);
  virtual int lineAt(int x, int y);
  virtual int lineFromChar(int index);
  // Copies at most size - 1 characters of the line and terminates them; returns the count.
  virtual int getLine(int line, char* buffer, int size);
  virtual void selectLine(int line, bool extend);
  // Selects the range when extend, else puts the caret at its start.
  virtual void select(int start, int length, bool extend);
  virtual void setRangeColour(int start, int length, COLORREF colour);
  virtual void setRangeBackground(int start, int length, COLORREF colour);
  virtual void clearRangeBackground(int start, int length);
  virtual void setRangeColours(int start, int length, COLORREF text, COLORREF background);
  // Text and background take their complements.
  virtual void invertRange(int start, int length);
  // The pane holds a reference on its font.
  virtual void setFont(Font* newFont);
  virtual Font* getFont();
  // Clicked links open only when detection is on.
  virtual void setAutoUrlDetect(bool on);
  virtual void scrollToTop();
  // Shows the end and turns auto-scroll on.
  virtual void scrollToEnd();
  virtual void scrollToLine(int line);
  virtual int getFirstVisibleLine();
  // Auto-scroll stays on only while the view shows the end; returns the new state.
  virtual bool updateAutoScroll();

 protected:
  Font* font;
  LONG creationStyle;
  unsigned char autoScroll;

 private:
  enum RangeChange { Colour, Background, AutoBackground, Colours, Inverse };
  void formatRange(int start, int length, RangeChange change, COLORREF text, COLORREF background);
  // Lifts the read-only option while text goes in; true when it was lifted.
  bool liftReadOnly(bool when);
  void restoreReadOnly();
  bool hasFocus();
  void openLink(const ENLINK& link);
  void followScroll(const MSG& message);
};

// Whether a clicked link may be handed to the desktop: the web, mail and news schemes and
// "www." names. Link text comes from other users, so nothing else (local files) is opened.
bool isOpenableLink(const char* text);
