// One plug-in a client uses: the plug-in's record and the client's session of it (null while
// the plug-in is not loaded).
#pragma once

class PlugRecord;
class PlugsObject;

enum SessionRecordFlags : unsigned {
  SESSION_INIT_DONE = 4,  // the session's init has run and its term has not
};

struct SessionRecord {
  unsigned flags = 0;
  PlugRecord* plug = nullptr;
  PlugsObject* session = nullptr;
};
