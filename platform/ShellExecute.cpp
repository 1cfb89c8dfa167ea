// ShellExecuteA("open") hands links and files to the desktop. Targets come from text other
// people typed, so only http, https, ftp, mailto and news links and "www." names (as http)
// open, plus local files that cannot run anything: an absolute path to an existing folder or
// to an existing file without execute permission that is not a desktop launcher. Relative
// names, other schemes (file:, javascript: ...), drive paths and other verbs are refused;
// parameters and the folder are never used, since nothing is ever started as a program.
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include <cctype>
#include <cstring>

#include "platform/DialogHooks.h"
#include "platform/TextCodec.h"
#include "platform/win32.h"

namespace vornplatform {
namespace {

const INT_PTR kOpened = 42;  // any value above 32 means success

bool startsWithNoCase(const std::string& text, const char* prefix) {
  size_t length = std::strlen(prefix);
  if (text.size() < length) return false;
  for (size_t i = 0; i < length; ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  return true;
}

bool hasBlankOrControl(const std::string& text) {
  for (unsigned char c : text)
    if (c <= ' ' || c == 0x7F) return true;
  return false;
}

// "scheme:" at the start (letters, digits, '+', '-', '.' after a first letter).
bool looksLikeScheme(const std::string& text) {
  size_t colon = text.find(':');
  if (colon == std::string::npos || colon < 2) return false;  // "c:" is a drive
  if (!std::isalpha(static_cast<unsigned char>(text[0]))) return false;
  for (size_t i = 1; i < colon; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

// The URL an allowed link stands for; empty when the text is no allowed link.
QUrl allowedLink(const std::string& target) {
  static const char* const kNetSchemes[] = {"http://", "https://", "ftp://"};
  static const char* const kMailSchemes[] = {"mailto:", "news:"};
  if (hasBlankOrControl(target)) return QUrl();
  std::string text = target;
  if (startsWithNoCase(text, "www.")) text = "http://" + text;
  for (const char* scheme : kNetSchemes) {
    if (!startsWithNoCase(text, scheme)) continue;
    QUrl url(bytesToQString(text), QUrl::StrictMode);
    return url.isValid() && !url.host().isEmpty() ? url : QUrl();
  }
  for (const char* scheme : kMailSchemes) {
    if (!startsWithNoCase(text, scheme) || text.size() == std::strlen(scheme)) continue;
    QUrl url(bytesToQString(text), QUrl::StrictMode);
    return url.isValid() ? url : QUrl();
  }
  return QUrl();
}

// The URL of a local file the desktop may open safely; empty otherwise.
QUrl allowedLocalFile(const std::string& target) {
  std::string path = target;
  for (char& c : path)
    if (c == '\\') c = '/';
  if (path.empty() || path[0] != '/') return QUrl();
  QFileInfo info(bytesToQString(path));
  if (!info.exists()) return QUrl();
  QFileInfo real(info.canonicalFilePath());
  bool safeFile = real.isFile() && !real.isExecutable() &&
                  !real.fileName().endsWith(QLatin1String(".desktop"), Qt::CaseInsensitive);
  if (!real.isDir() && !safeFile) return QUrl();
  return QUrl::fromLocalFile(real.filePath());
}

struct Decision {
  QUrl url;       // valid when allowed
  INT_PTR error;  // the failure value otherwise
};

Decision decide(const char* operation, const char* file) {
  std::string target = file == nullptr ? "" : file;
  if (operation != nullptr && *operation != '\0' && std::strcmp(operation, "open") != 0)
    return {QUrl(), SE_ERR_NOASSOC};
  if (target.empty()) return {QUrl(), SE_ERR_FNF};
  QUrl url = allowedLink(target);
  if (url.isValid()) return {url, kOpened};
  if (looksLikeScheme(target)) return {QUrl(), SE_ERR_NOASSOC};
  url = allowedLocalFile(target);
  if (url.isValid()) return {url, kOpened};
  return {QUrl(), SE_ERR_FNF};
}

}  // namespace
}  // namespace vornplatform

using namespace vornplatform;

HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                        LPCSTR directory, INT showCommand) {
  (void)parameters;
  (void)directory;
  (void)showCommand;
  Decision decision = decide(operation, file);
  INT_PTR result = decision.error;
  bool allowed = decision.url.isValid();
  if (shellOnlyRecords()) {
    vorntest::ShellExecuteCall call{hwnd,
                                    operation == nullptr ? "" : operation,
                                    file == nullptr ? "" : file,
                                    allowed,
                                    allowed ? qStringToBytes(decision.url.toString()) : "",
                                    result};
    recordShellCall(call);
  } else if (allowed) {
    bool opened = false;
    runOnGuiThread([&]() { opened = QDesktopServices::openUrl(decision.url); });
    if (!opened) result = SE_ERR_NOASSOC;
  }
  return reinterpret_cast<HINSTANCE>(result);
}
