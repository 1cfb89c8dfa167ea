// Small text rules of the NevChat session that need no window: the nick status shown for an
// idle value, the own-name test of chat lines, the groups that refuse client data.
#pragma once

// 'a' away (leading '*'), 'g' gone (more than 14 minutes, or hours or days), else ' '.
char whoStatus(const char* idle);

// Whether the first occurrence of word in text (ignoring case) stands alone: neither the
// character before nor the one after is a letter or a digit. An empty word never matches.
bool holdsWholeWord(const char* text, const char* word);

// Whether the group forbids client-to-client data.
bool groupRefusesData(const char* group);

// Whether text begins with keyword, ignoring case over the keyword's length.
bool beginsWithNoCase(const char* text, const char* keyword);

// text from offset on, or the empty text when text is shorter (a peer controls it).
const char* textFrom(const char* text, int offset);

// The text itself, or the empty text for null.
inline const char* orEmpty(const char* text) { return text != nullptr ? text : ""; }
