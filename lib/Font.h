// A reference-counted font description (face, size in points, style bits) that windows render
// with and the user edits in the system font dialog; also the colour dialog on an RGB triple.
#pragma once

#include "platform/win32.h"

class Font {
 public:
  // Style bits.
  enum { Italic = 1, Bold = 2, Underline = 4 };

  // Starts with style 0, no references and the owner still holding it.
  Font(const char* face, int size);

  // The virtual operations, in the order of the virtual table.
  // Opens the font dialog on this font; true (and the font changed) when the user confirmed.
  virtual bool chooseFont();
  virtual const char* getFace();
  virtual int getSize();
  virtual int getStyle();
  virtual void setFace(const char* text);
  virtual void setStyle(int bits);
  virtual void setSize(int points);
  // A window that renders with the font holds a reference.
  virtual Font* addRef();
  // Drops a reference (never below 0); the last one deletes the font once the owner let go.
  // Returns the references left.
  virtual int release();
  // The owner lets go; the font goes at once when no window holds it.
  virtual void releaseOwner();

  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

 protected:
  // Fonts delete themselves (release, releaseOwner); declared after the operations above so
  // their order in the table stays as it is, and virtual so a derived font is wholly deleted.
  virtual ~Font();

  int refCount;
  char* face;
  int size;
  int style;
  int ownerReleased;
};

// A colour as three bytes: the layout of a COLORREF's first three bytes.
struct ColourTriple {
  BYTE red;
  BYTE green;
  BYTE blue;
};

// Opens the colour dialog on the colour; when the user chooses one, it is written back and the
// answer is true. The dialog's 16 custom colours are kept for the whole process.
bool chooseColor(ColourTriple* colour);
