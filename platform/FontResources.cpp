// Font files added to the process through Qt's application fonts, counted per file so that
// each add is undone by one remove.
#include <QFontDatabase>
#include <QString>
#include <QStringList>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/WindowAccess.h"
#include "platform/win32_files.h"
#include "platform/win32_gdi.h"

namespace {

std::mutex fontLock;
// Qt's font ids by native path, the latest add last.
std::map<std::string, std::vector<int>> addedFonts;

}  // namespace

int AddFontResourceA(LPCSTR fileName) {
  if (!fileName || !*fileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  vornplatform::ensureApplication();
  std::string path = resolvePath(fileName);
  int id = QFontDatabase::addApplicationFont(QString::fromStdString(path));
  if (id < 0) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  std::lock_guard<std::mutex> guard(fontLock);
  addedFonts[path].push_back(id);
  auto families = QFontDatabase::applicationFontFamilies(id).size();
  return families > 0 ? static_cast<int>(families) : 1;
}

BOOL RemoveFontResourceA(LPCSTR fileName) {
  if (!fileName || !*fileName) return FALSE;
  std::string path = resolvePath(fileName);
  std::lock_guard<std::mutex> guard(fontLock);
  auto it = addedFonts.find(path);
  if (it == addedFonts.end()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  QFontDatabase::removeApplicationFont(it->second.back());
  it->second.pop_back();
  if (it->second.empty()) addedFonts.erase(it);
  return TRUE;
}
