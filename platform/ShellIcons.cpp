// The program's icon (ExtractIconA), registered window messages, the desktop window and the
// whole-window device context.
#include <strings.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QScreen>

#include <map>
#include <mutex>
#include <string>

#include "platform/Handles.h"
#include "platform/ModuleIcons.h"
#include "platform/WindowAccess.h"
#include "platform/win32.h"
#include "platform/win32_shell.h"

namespace vornplatform {
namespace {

std::mutex shellLock;
HICON programIconHandle = nullptr;
std::map<std::string, UINT> registeredMessages;  // lower-cased name -> number
UINT nextRegistered = 0xC000;
HWND desktopWindow = nullptr;

std::string lowered(const char* text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string programName() {
  char buffer[4096];
  ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  if (length <= 0) return std::string();
  std::string path(buffer, static_cast<size_t>(length));
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The last part of a Windows or Linux path, without ".exe".
std::string stemOf(const char* fileName) {
  std::string name(fileName);
  size_t cut = name.find_last_of("/\\");
  if (cut != std::string::npos) name = name.substr(cut + 1);
  if (name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".exe") == 0)
    name.resize(name.size() - 4);
  return name;
}

LRESULT CALLBACK desktopProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

bool isProgramIcon(HICON icon) {
  std::lock_guard<std::mutex> guard(shellLock);
  return icon != nullptr && icon == programIconHandle;
}

}  // namespace vornplatform

using namespace vornplatform;

HICON ExtractIconA(HINSTANCE, LPCSTR fileName, UINT index) {
  if (fileName == nullptr || index != 0) return nullptr;
  std::string stem = stemOf(fileName);
  if (stem.empty() || strcasecmp(stem.c_str(), stemOf(programName().c_str()).c_str()) != 0)
    return nullptr;
  if (HICON own = firstModuleIcon(GetModuleHandleA(nullptr))) return own;
  std::lock_guard<std::mutex> guard(shellLock);
  if (!programIconHandle)
    programIconHandle = reinterpret_cast<HICON>(static_cast<uintptr_t>(nextHandleValue()));
  return programIconHandle;
}

UINT RegisterWindowMessageA(LPCSTR name) {
  if (name == nullptr || name[0] == '\0') return 0;
  std::lock_guard<std::mutex> guard(shellLock);
  std::string key = lowered(name);
  auto found = registeredMessages.find(key);
  if (found != registeredMessages.end()) return found->second;
  if (nextRegistered > 0xFFFF) return 0;
  registeredMessages[key] = nextRegistered;
  return nextRegistered++;
}

HWND GetDesktopWindow() {
  ensureApplication();
  if (IsWindow(desktopWindow)) return desktopWindow;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = desktopProc;
  wc.lpszClassName = "#32769";
  WNDCLASSEXA known{};
  if (!GetClassInfoExA(nullptr, wc.lpszClassName, &known)) RegisterClassExA(&wc);
  QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry()
                                                  : QRect(0, 0, 1024, 768);
  desktopWindow = CreateWindowExA(0, "#32769", "", WS_POPUP, 0, 0, screen.width(),
                                  screen.height(), nullptr, nullptr, nullptr, nullptr);
  return desktopWindow;
}

