#include "plugins/NevChat/OutputSearch.h"

#include <cctype>

namespace {

std::string lowered(const char* text) {
  std::string out(text != nullptr ? text : "");
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

}  // namespace

int OutputSearch::scan(const std::vector<const HistoryRecord*>& records, int from, int to,
                       int step) {
  for (int i = from; i != to; i += step) {
    size_t at = lowered(records[static_cast<size_t>(i)]->text).find(current);
    if (at != std::string::npos) {
      hitOffset = static_cast<int>(at);
      hitStartAt = records[static_cast<size_t>(i)]->start + hitOffset;
      return i;
    }
  }
  return -1;
}

OutputSearch::Result OutputSearch::find(const char* text, bool forward,
                                        const std::vector<const HistoryRecord*>& records) {
  if (text == nullptr || text[0] == '\0') {
    current.clear();
    hitRecord = -1;
    return Cleared;
  }
  std::string wanted = trimmed(lowered(text));
  int count = static_cast<int>(records.size());
  if (hitRecord >= count) hitRecord = -1;  // the history was emptied
  int first = forward ? 0 : count - 1;
  int end = forward ? count : -1;
  int step = forward ? 1 : -1;
  int from = first;
  if (wanted != current) {
    current = wanted;
    hitRecord = -1;
  } else if (hitRecord >= 0) {
    from = hitRecord + step;
  }
  if (current.empty()) return Empty;
  int found = scan(records, from, end, step);
  if (found < 0) found = scan(records, first, end, step);
  hitRecord = found;
  return found < 0 ? NotFound : Found;
}

void OutputSearch::forgetFront(int records, int characters) {
  if (hitRecord < 0) return;
  hitRecord -= records;
  hitStartAt -= characters;
  if (hitRecord < 0) hitRecord = -1;
}
