// The fixed list of event names the chat-server plug-ins know, so a plug-in can turn an
// event's name into a small id once and dispatch on it. Names are only ever added at the end.
#pragma once

constexpr int kEventNameCount = 58;

extern const char* const eventNames[kEventNameCount];

// The id (index) of the first name equal to name ignoring case; -1 when none is (or null).
int findEventId(const char* name);
