// The operating-system calls of the host's start and end, kept in one place: the program's own
// path, the console's font file, and the operating system's version record.
#pragma once

// The operating system's version, as the host prints it.
struct OsVersionRecord {
  unsigned major;
  unsigned minor;
  unsigned build;
  unsigned platform;  // 1 the Windows 9x family, 2 the NT family
  char servicePack[128];
};

// Asks the system for its version with the extended record, or with the plain one when
// extended is false; false when the system refuses that record.
bool queryOsVersion(bool extended, OsVersionRecord* record);

// The program's path (the first element of the process's command line) in the ANSI code page,
// in a new[] buffer with room for two more characters; null when it cannot be had.
char* programPath();

// The console's fixed-pitch font file beside the program, made known to the process (and every
// window told), then forgotten again at the end.
void addConsoleFont();
void removeConsoleFont();

// What the host makes of those answers, apart from the calls so that tests can feed them.

// The operating-system line (see getOsVersionString) from query's answers; buffer may be null,
// else it holds at least 512 bytes. Returns 0-4 by family.
int formatOsVersionString(char* buffer, bool (*query)(bool extended, OsVersionRecord* record));

// Cuts path at its last '\' or '/', leaving the folder; false (path unchanged) when it has none.
bool cutToFolder(char* path);
