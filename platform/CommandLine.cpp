// The process's command line in wide text, its splitting into arguments, and wide text back to
// 8-bit. Bytes that are not UTF-8 travel as U+DC00 + byte, so any path comes back unchanged.
#include "platform/win32_system.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <list>
#include <mutex>
#include <string>
#include <vector>

#include "platform/TextCodec.h"
#include "platform/testing.h"

namespace {

const wchar_t kEscapeBase = 0xDC00;

std::wstring wideFromBytes(const std::string& bytes) {
  std::wstring out;
  auto* text = reinterpret_cast<const unsigned char*>(bytes.data());
  for (size_t i = 0; i < bytes.size();) {
    char32_t code = 0;
    size_t n = vornplatform::utf8SequenceAt(text, bytes.size(), i, &code);
    if (n == 0) {
      out += static_cast<wchar_t>(kEscapeBase + text[i++]);
    } else {
      out += static_cast<wchar_t>(code);
      i += n;
    }
  }
  return out;
}

// Appends the bytes of one wide character; false when it has none (it becomes '?').
bool appendBytes(wchar_t wide, std::string& out) {
  auto c = static_cast<uint32_t>(wide);
  if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF) {
    out += static_cast<char>(c - kEscapeBase);
  } else if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c >= 0xD800 && c <= 0xDFFF) {
    out += '?';
    return false;
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c <= 0x10FFFF) {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += '?';
    return false;
  }
  return true;
}

std::string executablePath() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// One argument written so that the splitting below reads it back exactly.
std::string quotedArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string out = "\"";
  size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote itself escaped.
    out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');  // they stand before the closing quote
  return out + "\"";
}

std::string processCommandLine() {
  std::string exe = executablePath();
  std::string line = exe.find_first_of(" \t") == std::string::npos ? exe : "\"" + exe + "\"";
  std::ifstream file("/proc/self/cmdline", std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  size_t start = all.find('\0');  // the first one names the program: the path above replaces it
  while (start != std::string::npos && start + 1 < all.size()) {
    size_t end = all.find('\0', start + 1);
    if (end == std::string::npos) end = all.size();
    line += ' ' + quotedArgument(all.substr(start + 1, end - start - 1));
    start = end;
  }
  return line;
}

// Command lines handed out stay valid for the process's life, as Windows' own does.
std::mutex lineLock;
std::list<std::wstring> lines;
LPWSTR currentLine = nullptr;

// The program's name: up to the closing quote when it starts with one, else up to a blank.
std::wstring programName(const wchar_t*& p) {
  std::wstring name;
  if (*p == L'"') {
    for (++p; *p && *p != L'"'; ++p) name += *p;
    if (*p) ++p;
  } else {
    for (; *p && !isBlank(*p); ++p) name += *p;
  }
  return name;
}

// One later argument: 2n backslashes and a quote give n backslashes and toggle quoting,
// 2n+1 give n and a literal quote, "" inside quotes gives a quote.
std::wstring nextArgument(const wchar_t*& p) {
  std::wstring arg;
  bool quoted = false;
  while (*p && (quoted || !isBlank(*p))) {
    if (*p == L'\\') {
      size_t n = 0;
      while (p[n] == L'\\') ++n;
      if (p[n] == L'"') {
        arg.append(n / 2, L'\\');
        if (n % 2) arg += L'"';
        p += n % 2 ? n + 1 : n;
      } else {
        arg.append(n, L'\\');
        p += n;
      }
    } else if (*p == L'"') {
      if (quoted && p[1] == L'"') {
        arg += L'"';
        p += 2;
      } else {
        quoted = !quoted;
        ++p;
      }
    } else {
      arg += *p++;
    }
  }
  return arg;
}

std::vector<std::wstring> splitCommandLine(const wchar_t* p) {
  std::vector<std::wstring> args{programName(p)};
  for (;;) {
    while (isBlank(*p)) ++p;
    if (!*p) break;
    args.push_back(nextArgument(p));
  }
  return args;
}

}  // namespace

namespace vorntest {

void setCommandLine(const char* line) {
  std::lock_guard<std::mutex> guard(lineLock);
  if (!line) {
    currentLine = nullptr;
    return;
  }
  lines.push_back(wideFromBytes(line));
  currentLine = &lines.back()[0];
}

}  // namespace vorntest

LPWSTR GetCommandLineW() {
  std::lock_guard<std::mutex> guard(lineLock);
  if (!currentLine) {
    static LPWSTR own = [] {
      lines.push_back(wideFromBytes(processCommandLine()));
      return &lines.back()[0];
    }();
    return own;
  }
  return currentLine;
}

LPWSTR* CommandLineToArgvW(LPCWSTR commandLine, int* count) {
  if (!count) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::vector<std::wstring> args;
  if (commandLine && *commandLine) {
    args = splitCommandLine(commandLine);
  } else {
    args.push_back(wideFromBytes(executablePath()));  // an empty line names the program alone
  }
  // The pointers first, then the texts, in one block.
  size_t bytes = (args.size() + 1) * sizeof(LPWSTR);
  for (const std::wstring& arg : args) bytes += (arg.size() + 1) * sizeof(WCHAR);
  auto* block = static_cast<LPWSTR*>(std::malloc(bytes));
  if (!block) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  auto* text = reinterpret_cast<WCHAR*>(block + args.size() + 1);
  for (size_t i = 0; i < args.size(); ++i) {
    block[i] = text;
    std::wmemcpy(text, args[i].c_str(), args[i].size() + 1);
    text += args[i].size() + 1;
  }
  block[args.size()] = nullptr;
  *count = static_cast<int>(args.size());
  return block;
}

HLOCAL LocalFree(HLOCAL block) {
  std::free(block);
  return nullptr;
}

int WideCharToMultiByte(UINT codePage, DWORD, LPCWCH wide, int wideLength, LPSTR buffer,
                        int bufferSize, LPCCH, LPBOOL usedDefaultChar) {
  bool knownPage = codePage == CP_ACP || codePage == CP_UTF8;
  if (!knownPage || !wide || wideLength == 0 || wideLength < -1 || bufferSize < 0 ||
      (bufferSize > 0 && !buffer)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t length = wideLength == -1 ? std::wcslen(wide) + 1 : static_cast<size_t>(wideLength);
  std::string bytes;
  bool allConverted = true;
  for (size_t i = 0; i < length; ++i) allConverted = appendBytes(wide[i], bytes) && allConverted;
  if (usedDefaultChar) *usedDefaultChar = allConverted ? FALSE : TRUE;
  if (bufferSize == 0) return static_cast<int>(bytes.size());
  if (bytes.size() > static_cast<size_t>(bufferSize)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(buffer, bytes.data(), bytes.size());
  return static_cast<int>(bytes.size());
}
