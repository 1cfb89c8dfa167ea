// What the host asks of the process and the system: its command line split back into exact
// arguments, wide text back to bytes, the version record, section lists and font files.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/utsname.h>
#include <sys/wait.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/testing.h"
#include "platform/tests/TempFolder.h"
#include "platform/win32.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::vector<std::wstring> split(const wchar_t* line) {
  int count = -1;
  LPWSTR* argv = CommandLineToArgvW(line, &count);
  std::vector<std::wstring> args;
  if (!argv) return args;
  for (int i = 0; i < count; ++i) args.emplace_back(argv[i]);
  EXPECT_EQ(argv[count], nullptr);
  EXPECT_EQ(LocalFree(argv), nullptr);
  return args;
}

std::string bytesOf(const std::wstring& wide) {
  int needed = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(needed), '\0');
  if (WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &out[0], needed, nullptr, nullptr) != needed)
    return "<failed>";
  out.pop_back();  // the NUL
  return out;
}

std::vector<std::string> commandLineBytes() {
  std::vector<std::string> args;
  for (const std::wstring& arg : split(GetCommandLineW())) args.push_back(bytesOf(arg));
  return args;
}

std::string exePath() { return fs::read_symlink("/proc/self/exe").string(); }

TEST(HostCommandLine, SplitsWithWindowsQuotingRules) {
  struct Case {
    const wchar_t* line;
    std::vector<std::wstring> args;
  };
  const Case cases[] = {
      {L"prog a  b", {L"prog", L"a", L"b"}},
      {L"\"C:\\Program Files\\V\\Vornith.exe\" -x", {L"C:\\Program Files\\V\\Vornith.exe", L"-x"}},
      {L"\"a b\"c d", {L"a b", L"c", L"d"}},   // the name ends at its closing quote
      {L"\"dir\\\\\" x", {L"dir\\\\", L"x"}},  // backslashes in the name are plain
      {L"p a\\\\\\\\\"b c\" d", {L"p", L"a\\\\b c", L"d"}},
      {L"p a\\\\\\\"b", {L"p", L"a\\\"b"}},
      {L"p a\\\\b\\", {L"p", L"a\\\\b\\"}},
      {L"p \"a\"\"b\"", {L"p", L"a\"b"}},
      {L"p \"\" x", {L"p", L"", L"x"}},
      {L"p \"open", {L"p", L"open"}},
      {L"  p", {L"", L"p"}},  // leading blanks: an empty program name
      {L"p\t a \t", {L"p", L"a"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(bytesOf(c.line));
    EXPECT_EQ(split(c.line), c.args);
  }
  ASSERT_EQ(split(L"").size(), 1u);
  EXPECT_EQ(bytesOf(split(L"")[0]), exePath()) << "an empty line names the program";
  EXPECT_EQ(CommandLineToArgvW(L"p", nullptr), nullptr);
}

TEST(HostCommandLine, ProcessArgumentsComeBackExactly) {
  std::ifstream file("/proc/self/cmdline", std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::string> expected;
  for (size_t start = 0; start < all.size();) {
    size_t end = all.find('\0', start);
    expected.push_back(all.substr(start, end - start));
    start = end + 1;
  }
  ASSERT_FALSE(expected.empty());
  expected[0] = exePath();  // the first element is always the absolute path
  EXPECT_EQ(commandLineBytes(), expected);
}

// Runs the test above in a child whose arguments need quoting and escaping.
TEST(HostCommandLine, ArgumentsWithBlanksQuotesAndBackslashesSurvive) {
  std::vector<std::string> args = {
      exePath(),     "--gtest_filter=HostCommandLine.ProcessArgumentsComeBackExactly",
      "a b",         "say \"hi\"",
      "C:\\dir\\",   "C:\\two dirs\\",
      "tail\\\\\"x", "",
      "\t tab",      "caf\xC3\xA9 \xB2"};
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(&arg[0]);
  argv.push_back(nullptr);
  pid_t child = 0;
  ASSERT_EQ(posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ), 0);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(HostCommandLine, TestLineOverridesAndPathBytesRoundTrip) {
  const std::string path = "/opt/my apps/v\xB2n\xC3\xA9/vornith";
  vorntest::setCommandLine(("\"" + path + "\" --flag").c_str());
  std::vector<std::wstring> wide = split(GetCommandLineW());
  ASSERT_EQ(wide.size(), 2u);
  EXPECT_NE(wide[0].find(L"n\xE9/"), std::wstring::npos) << "UTF-8 reads as its character";
  EXPECT_EQ(commandLineBytes(), (std::vector<std::string>{path, "--flag"}));
  LPWSTR before = GetCommandLineW();
  vorntest::setCommandLine("other");
  EXPECT_EQ(bytesOf(before), "\"" + path + "\" --flag") << "an old line stays readable";
  vorntest::setCommandLine(nullptr);
  EXPECT_EQ(commandLineBytes()[0], exePath());
}

TEST(HostWideText, ConversionSizesAndRefusals) {
  const wchar_t* text = L"a\xE9\x20AC";  // 1 + 2 + 3 bytes
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr), 7);
  char buf[16];
  std::memset(buf, 'Z', sizeof buf);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, text, 2, buf, sizeof buf, nullptr, nullptr), 3);
  EXPECT_EQ(std::string(buf, 4), "a\xC3\xA9Z") << "an explicit length writes no NUL";

  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, text, -1, buf, 6, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

  BOOL usedDefault = FALSE;
  const wchar_t lone[] = {L'x', static_cast<wchar_t>(0xD800), 0};
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, lone, -1, buf, sizeof buf, nullptr, &usedDefault), 3);
  EXPECT_STREQ(buf, "x?");
  EXPECT_TRUE(usedDefault);

  struct Refused {
    UINT codePage;
    int wideLength;
    int bufferSize;
  };
  for (const Refused& r : {Refused{1252, -1, 16}, Refused{CP_ACP, 0, 16}, Refused{CP_ACP, -2, 16},
                           Refused{CP_ACP, -1, -1}}) {
    SetLastError(0);
    EXPECT_EQ(
        WideCharToMultiByte(r.codePage, 0, text, r.wideLength, buf, r.bufferSize, nullptr, nullptr),
        0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
}

class SystemVersion : public ::testing::Test {
 protected:
  void TearDown() override { vorntest::clearVersionHooks(); }
  // A record full of a marker byte, announcing size.
  static OSVERSIONINFOEXA marked(DWORD size) {
    OSVERSIONINFOEXA info;
    std::memset(&info, 0xAB, sizeof info);
    info.dwOSVersionInfoSize = size;
    return info;
  }
  static BOOL ask(OSVERSIONINFOEXA& info) {
    return GetVersionExA(reinterpret_cast<LPOSVERSIONINFOA>(&info));
  }
};

TEST_F(SystemVersion, AnswersFromTheKernelRelease) {
  utsname names{};
  ASSERT_EQ(uname(&names), 0);
  unsigned major = 0, minor = 0, build = 0;
  std::sscanf(names.release, "%u.%u.%u", &major, &minor, &build);
  OSVERSIONINFOEXA info = marked(sizeof(OSVERSIONINFOEXA));
  ASSERT_TRUE(ask(info));
  EXPECT_EQ(info.dwOSVersionInfoSize, sizeof(OSVERSIONINFOEXA));
  EXPECT_EQ(info.dwMajorVersion, major);
  EXPECT_EQ(info.dwMinorVersion, minor);
  EXPECT_EQ(info.dwBuildNumber, build);
  EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
  EXPECT_EQ(std::string(info.szCSDVersion), std::string(names.sysname) + " " + names.release);
}

TEST_F(SystemVersion, WritesOnlyTheRecordAskedForAndRefusesOtherSizes) {
  OSVERSIONINFOEXA info = marked(sizeof(OSVERSIONINFOA));
  ASSERT_TRUE(ask(info));
  EXPECT_EQ(info.dwOSVersionInfoSize, sizeof(OSVERSIONINFOA));
  EXPECT_EQ(info.wServicePackMajor, 0xABAB) << "the plain record's caller owns nothing more";
  EXPECT_EQ(info.wReserved, 0xAB);
  for (DWORD size : {0u, 147u, 149u, 157u, 1000u}) {
    SCOPED_TRACE(size);
    info = marked(size);
    SetLastError(0);
    EXPECT_FALSE(ask(info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(info.dwMajorVersion, 0xABABABABu);
  }
  EXPECT_FALSE(GetVersionExA(nullptr));
}

TEST_F(SystemVersion, HooksFixTheAnswerOrRefuseCalls) {
  OSVERSIONINFOEXA fixed{};
  fixed.dwMajorVersion = 5;
  fixed.dwMinorVersion = 1;
  fixed.dwBuildNumber = 2600;
  fixed.dwPlatformId = VER_PLATFORM_WIN32_NT;
  std::strcpy(fixed.szCSDVersion, "Service Pack 3");
  fixed.wServicePackMajor = 3;
  vorntest::setVersionAnswer(fixed);
  OSVERSIONINFOEXA info = marked(sizeof(OSVERSIONINFOEXA));
  ASSERT_TRUE(ask(info));
  EXPECT_EQ(info.dwOSVersionInfoSize, sizeof(OSVERSIONINFOEXA));
  EXPECT_EQ(info.dwBuildNumber, 2600u);
  EXPECT_STREQ(info.szCSDVersion, "Service Pack 3");
  EXPECT_EQ(info.wServicePackMajor, 3);

  struct Case {
    vorntest::VersionFailure failure;
    bool extendedWorks, plainWorks;
  };
  for (const Case& c : {Case{vorntest::FailExtendedVersionCalls, false, true},
                        Case{vorntest::FailEveryVersionCall, false, false},
                        Case{vorntest::NoVersionFailure, true, true}}) {
    SCOPED_TRACE(c.failure);
    vorntest::setVersionFailure(c.failure);
    OSVERSIONINFOEXA extended = marked(sizeof(OSVERSIONINFOEXA));
    OSVERSIONINFOEXA plain = marked(sizeof(OSVERSIONINFOA));
    EXPECT_EQ(ask(extended) != FALSE, c.extendedWorks);
    EXPECT_EQ(ask(plain) != FALSE, c.plainWorks);
    EXPECT_EQ(plain.dwMajorVersion, c.plainWorks ? 5u : 0xABABABABu);
  }
  vorntest::clearVersionHooks();
  info = marked(sizeof(OSVERSIONINFOEXA));
  ASSERT_TRUE(ask(info));
  EXPECT_NE(std::string(info.szCSDVersion), "Service Pack 3");
}

TEST(HostSectionNames, FileOrderAsWrittenAndWindowsTruncation) {
  TempFolder tmp;
  ASSERT_TRUE(fs::create_directory(tmp.file("Sub")));
  ASSERT_TRUE(tmp.write("Sub/Vornith.ini", "[System]\r\na=1\r\n[Client One]\r\n[x]\n[SYSTEM]\n"));
  const std::string file = tmp.path() + "\\sub\\VORNITH.INI";  // the layer's path rules
  const std::string list("System\0Client One\0x\0SYSTEM\0", 27);
  struct Case {
    DWORD size;
    DWORD returns;
    std::string buffer;  // what the call leaves at the start of the buffer
  };
  const Case cases[] = {
      {64, 27, list + '\0'},
      {28, 27, list + '\0'},                                  // exactly enough
      {20, 18, list.substr(0, 18) + std::string("\0\0", 2)},  // cut: size - 2 and two NULs
      {10, 8, std::string("System\0C\0\0", 10)},
      {2, 0, std::string("\0\0", 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    char buf[80];
    std::memset(buf, 'Z', sizeof buf);
    EXPECT_EQ(GetPrivateProfileSectionNamesA(buf, c.size, file.c_str()), c.returns);
    EXPECT_EQ(std::string(buf, c.buffer.size()), c.buffer);
    EXPECT_EQ(buf[c.size], 'Z') << "nothing written past the buffer";
  }
  char buf[8] = "ZZZZZZZ";
  EXPECT_EQ(GetPrivateProfileSectionNamesA(buf, sizeof buf, tmp.file("None.ini").c_str()), 0u);
  EXPECT_EQ(std::string(buf, 2), std::string("\0\0", 2));
}

// A font file of the system, if it has one.
std::string someFontFile() {
  std::error_code error;
  for (const char* root : {"/usr/share/fonts", "/usr/local/share/fonts"}) {
    fs::recursive_directory_iterator it(root, error), end;
    for (; !error && it != end; it.increment(error)) {
      std::string ext = it->path().extension().string();
      if (ext == ".ttf" || ext == ".otf") return it->path().string();
    }
  }
  return std::string();
}

TEST(HostFonts, AddedPerFileAndRemovedOncePerAdd) {
  std::string source = someFontFile();
  if (source.empty()) GTEST_SKIP() << "no font file on this system";
  TempFolder tmp;
  fs::copy_file(source, tmp.file("Console.ttf"));
  ASSERT_TRUE(tmp.write("Broken.ttf", "not a font"));
  const std::string font = tmp.path() + "\\CONSOLE.TTF";
  const std::string same = tmp.file("console.ttf");

  EXPECT_EQ(AddFontResourceA(tmp.file("Missing.fon").c_str()), 0);
  EXPECT_EQ(AddFontResourceA(tmp.file("Broken.ttf").c_str()), 0);
  EXPECT_EQ(AddFontResourceA(nullptr), 0);
  EXPECT_FALSE(RemoveFontResourceA(tmp.file("Broken.ttf").c_str()));

  EXPECT_GE(AddFontResourceA(font.c_str()), 1);
  EXPECT_GE(AddFontResourceA(same.c_str()), 1);
  EXPECT_TRUE(RemoveFontResourceA(same.c_str()));
  EXPECT_TRUE(RemoveFontResourceA(font.c_str()));
  EXPECT_FALSE(RemoveFontResourceA(font.c_str())) << "two adds, two removes";
}

}  // namespace
