// Small text helpers of the chat server.
#include "outside/chatserver/ChatText.h"

const char* const TelnetWillEcho = "\xff\xfb\x01";
const char* const TelnetWontEcho = "\xff\xfc\x01";

std::string lowerCase(const std::string& text) {
  std::string lower = text;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

void splitWord(const std::string& line, std::string& word, std::string& rest) {
  size_t start = line.find_first_not_of(" \t");
  if (start == std::string::npos) {
    word.clear();
    rest.clear();
    return;
  }
  size_t end = line.find_first_of(" \t", start);
  word = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
  size_t next = end == std::string::npos ? std::string::npos : line.find_first_not_of(" \t", end);
  rest = next == std::string::npos ? std::string() : line.substr(next);
}

bool isWordName(const std::string& name, size_t maxLength) {
  if (name.empty() || name.size() > maxLength) return false;
  for (char c : name) {
    bool word =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    if (!word) return false;
  }
  return true;
}

std::string dateOf(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char text[16];
  std::strftime(text, sizeof text, "%Y-%m-%d", &local);
  return text;
}
