// The stored form of the saved chat password: a light scramble that keeps the password from
// being read at a glance in the settings file. It is not encryption.
#pragma once

#include "lib/String.h"

// The scrambled form of plain, made only of printable characters (never NUL or a control
// character), at most twice as long.
String scramblePassword(const char* plain);

// The password back from its scrambled form.
String unscramblePassword(const char* stored);
