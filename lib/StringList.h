// The entered lines of an input line, most recent first, with a cursor for walking them and
// prefix searches that ignore case. A repeated line moves to the front instead of doubling.
#pragma once

class StringList {
 public:
  // A search gives up after this many entries that do not match.
  enum { SearchLimit = 256 };

  StringList();

  // The virtual operations, in the order of the virtual table.
  virtual ~StringList();
  // False for an empty or all-blank text; forgets the cursor.
  virtual bool add(const char* text);
  // Steps to an older entry (from none or the oldest: the most recent); "" on none.
  virtual const char* next();
  // Steps to a newer entry (from the most recent: none); "" on none.
  virtual const char* previous();
  // The first entry starting with prefix, or null; a match becomes the cursor.
  virtual const char* findFirst(const char* prefix);
  virtual const char* findNext(const char* prefix);
  virtual const char* findPrevious(const char* prefix);

  StringList(const StringList&) = delete;
  StringList& operator=(const StringList&) = delete;

 private:
  struct Entry {
    char* text;
    Entry* older;
    Entry* newer;
  };
  Entry* first;
  Entry* last;
  Entry* current;

  void unlink(Entry* entry);
  void pushFront(Entry* entry);
  const char* currentText() const;
  const char* search(Entry* from, bool towardsOlder, const char* prefix);
};
