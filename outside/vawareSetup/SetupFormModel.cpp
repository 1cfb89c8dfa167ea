#include "outside/vawareSetup/SetupFormModel.h"

void SetupFormModel::setWordsFromLines(const std::string& text) {
  words.clear();
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    size_t first = text.find_first_not_of(" \t", start);
    size_t last = text.find_last_not_of(" \t", end == 0 ? 0 : end - 1);
    if (first != std::string::npos && first < end && last >= first)
      words.push_back(text.substr(first, last - first + 1));
    start = end + 1;
  }
}

std::string SetupFormModel::wordLines() const {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : "\r\n") + word;
  return text;
}
