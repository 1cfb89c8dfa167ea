// A growable, NUL-terminated character buffer that grows in fixed steps. Growing hands the old
// storage back to the caller and copies nothing: callers refill the buffer right after.
#pragma once

class TextBuffer {
 public:
  // What grow returns when no memory could be had (the old storage is kept).
  static char* const GrowFailed;

  TextBuffer(int capacity, int growStep);

  // The virtual operations, in the order of the virtual table.
  virtual ~TextBuffer();
  virtual const char* text();
  // Room for n characters; the contents are undefined (empty) after a grow. False when no
  // memory could be had.
  virtual bool ensure(int n);
  virtual bool assign(const char* source);
  // Takes the length from the text (after filling text() directly).
  virtual void recount();
  virtual void clear();
  // Removes leading (true) or trailing (false) blanks: space, tab, CR and LF.
  virtual void trim(bool fromStart);
  virtual int length();
  virtual int capacity();
  // Makes room for at least n characters in whole steps and returns the old storage (which
  // the caller frees; null when there was none), or GrowFailed.
  virtual char* grow(int n);

  // Writable storage of capacity() + 1 bytes, null before any was allocated.
  char* data() { return storage; }

  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;

 private:
  char* storage;
  int step;
  int capacityValue;
  int lengthValue;
};
