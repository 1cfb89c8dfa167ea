// The events-file loader: a "[VARS]" section of reusable pattern pieces, then an "[EVENTS]"
// section of event definitions, each line "name = item + item ..." (quoted text or variable).
#pragma once

class EventList;

// Replaces the list's events with the file's. False (list unchanged) when the file cannot be
// opened or is empty; false with the list emptied when its first line is no section header.
// Faulty lines are reported on the list's console and skipped.
bool loadEventsFile(EventList& list, const char* path);
