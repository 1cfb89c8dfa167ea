// Small text helpers of the chat server: case folding, word splitting, name checks and the
// telnet bytes it sends around the password prompt.
#pragma once

#include <ctime>
#include <string>

// IAC WILL ECHO before the password prompt, IAC WONT ECHO after the password line.
extern const char* const TelnetWillEcho;
extern const char* const TelnetWontEcho;

std::string lowerCase(const std::string& text);
// Splits at the first blank: word before it, rest after the blanks behind it.
void splitWord(const std::string& line, std::string& word, std::string& rest);
// Letters, digits and '_' only, 1 to maxLength characters.
bool isWordName(const std::string& name, size_t maxLength);
// "YYYY-MM-DD" of the local date.
std::string dateOf(std::time_t when);
