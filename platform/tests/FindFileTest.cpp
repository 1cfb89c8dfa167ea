// File search with Win32 patterns and the file operations: copy (never over a loaded library),
// move, delete, attributes, folders and the current folder.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <deque>
#include <string>
#include <thread>
#include <vector>

#include "platform/tests/TempFolder.h"
#include "platform/win32.h"

namespace {

std::string platformLibraryPath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&CopyFileA), &info) == 0 || info.dli_fname == nullptr)
    return "";
  return info.dli_fname;
}

std::string windowsPath(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// The error a failed call left behind, or 0 when the call succeeded.
long failureOf(bool succeeded) { return succeeded ? 0 : static_cast<long>(GetLastError()); }

std::vector<std::string> findAll(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(pattern.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(data.cFileName);
  while (FindNextFileA(search, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_TRUE(FindClose(search));
  return names;
}

std::vector<std::string> findAllRuntime(const std::string& pattern) {
  std::vector<std::string> names;
  _finddata_t data;
  intptr_t search = _findfirst(pattern.c_str(), &data);
  if (search == -1) return names;
  do names.push_back(data.name);
  while (_findnext(search, &data) == 0);
  EXPECT_EQ(_findclose(search), 0);
  return names;
}

class FindFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(temp.path().empty());
    ASSERT_TRUE(CreateDirectoryA(at("\\Plugins"), nullptr));
    for (const char* name : {"Plugins/NevChat.vma", "Plugins/b.VAD", "Plugins/a.vad",
                             "Plugins/a.vad.bak", "Plugins/noext", "Plugins/vtray.vsy"})
      ASSERT_TRUE(temp.write(name, "12345"));
  }
  // A path inside the test folder, alive until the test ends.
  const char* at(const char* name) { return paths.emplace_back(temp.path() + name).c_str(); }
  TempFolder temp;
  std::deque<std::string> paths;
};

TEST_F(FindFileTest, PatternsMatchIgnoringCaseInAlphabeticalOrder) {
  struct Case {
    const char* pattern;
    std::vector<std::string> names;
  } cases[] = {
      {"\\plugins\\*.vad", {"a.vad", "b.VAD"}},
      {"\\PLUGINS\\*.VMA", {"NevChat.vma"}},
      {"/Plugins/?.vad", {"a.vad", "b.VAD"}},
      {"/Plugins/*.vad*", {"a.vad", "a.vad.bak", "b.VAD"}},
      {"/Plugins/nevchat.vma", {"NevChat.vma"}},
      {"/Plugins/*.*",
       {".", "..", "a.vad", "a.vad.bak", "b.VAD", "NevChat.vma", "noext", "vtray.vsy"}},
      {"/Plugins/*.vio", {}},
      {"/Plugins/noext?", {}},
  };
  for (const Case& c : cases) {
    std::string pattern = windowsPath(temp.path()) + windowsPath(c.pattern);
    EXPECT_EQ(findAll(pattern), c.names) << c.pattern;
    EXPECT_EQ(findAllRuntime(pattern), c.names) << c.pattern;
  }
}

TEST_F(FindFileTest, FoundEntriesCarrySizeAndAttributes) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(at("/plugins/VTRAY.VSY"), &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.nFileSizeLow, 5u);
  EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
  EXPECT_GT(data.ftLastWriteTime.dwHighDateTime, 0x01000000u);  // after 1601, in 100 ns units
  EXPECT_TRUE(FindClose(search));
  EXPECT_FALSE(FindClose(search));  // a closed search is a dead handle

  _finddata_t entry;
  intptr_t folder = _findfirst(at("\\PLUGINS"), &entry);
  ASSERT_NE(folder, -1);
  EXPECT_EQ(entry.attrib & _A_SUBDIR, static_cast<unsigned>(_A_SUBDIR));
  EXPECT_EQ(_findclose(folder), 0);
}

TEST_F(FindFileTest, AttributesAndFailedLookupsTellWhy) {
  WIN32_FIND_DATAA data;
  const std::string none = temp.path() + "/Plugins/*.vio";
  EXPECT_EQ(failureOf(FindFirstFileA(none.c_str(), &data) != INVALID_HANDLE_VALUE),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(failureOf(FindFirstFileA(at("/Missing/*.vio"), &data) != INVALID_HANDLE_VALUE),
            ERROR_PATH_NOT_FOUND);
  _finddata_t entry;
  errno = 0;
  EXPECT_EQ(_findfirst(none.c_str(), &entry), -1);
  EXPECT_EQ(errno, ENOENT);

  EXPECT_EQ(GetFileAttributesA(at("\\plugins\\A.VAD")), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(GetFileAttributesA(at("\\PLUGINS")), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(failureOf(GetFileAttributesA(at("\\none")) != INVALID_FILE_ATTRIBUTES),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(failureOf(CreateDirectoryA(at("\\plugins"), nullptr)), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(failureOf(CreateDirectoryA(at("\\none\\deeper"), nullptr)), ERROR_PATH_NOT_FOUND);
}

TEST_F(FindFileTest, CopyHonoursFailIfExistsAndReplacesWholeFiles) {
  ASSERT_TRUE(temp.write("new.vad", "new content"));
  const char* source = at("\\NEW.VAD");
  const char* target = at("\\plugins\\A.VAD");
  EXPECT_EQ(failureOf(CopyFileA(source, target, TRUE)), ERROR_FILE_EXISTS);
  EXPECT_EQ(temp.read("Plugins/a.vad"), "12345");
  EXPECT_TRUE(CopyFileA(source, target, FALSE));
  EXPECT_EQ(temp.read("Plugins/a.vad"), "new content");  // the existing name, not a second file
  EXPECT_TRUE(CopyFileA(source, at("/Plugins/c.vad"), TRUE));
  EXPECT_EQ(failureOf(CopyFileA(at("/none"), target, FALSE)), ERROR_FILE_NOT_FOUND);
  // No temp file is left behind.
  EXPECT_EQ(findAll(temp.path() + "/Plugins/.vorn*").size(), 0u);
}

TEST_F(FindFileTest, CopyIsRefusedOverALoadedLibraryUntilItIsFreed) {
  std::string library = platformLibraryPath();
  ASSERT_FALSE(library.empty());
  const char* copy = at("/Plugins/loaded.vma");
  ASSERT_TRUE(CopyFileA(library.c_str(), copy, FALSE));
  HMODULE module = LoadLibraryA(windowsPath(copy).c_str());
  ASSERT_NE(module, nullptr);
  const char* source = at("/Plugins/NevChat.vma");
  EXPECT_EQ(failureOf(CopyFileA(source, at("\\PLUGINS\\LOADED.VMA"), FALSE)),
            ERROR_SHARING_VIOLATION);
  EXPECT_NE(temp.read("Plugins/loaded.vma"), "12345");
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_TRUE(CopyFileA(source, copy, FALSE));
  EXPECT_EQ(temp.read("Plugins/loaded.vma"), "12345");
}

TEST_F(FindFileTest, MoveRenamesWithoutReplacingAndDeleteRemovesFilesOnly) {
  EXPECT_EQ(failureOf(MoveFileA(at("\\Plugins\\a.vad"), at("\\Plugins\\B.vad"))),
            ERROR_ALREADY_EXISTS);
  EXPECT_TRUE(MoveFileA(at("\\Plugins\\A.VAD"), at("\\moved.vad")));
  EXPECT_EQ(temp.read("moved.vad"), "12345");
  EXPECT_EQ(GetFileAttributesA(at("\\Plugins\\a.vad")), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(MoveFileA(at("\\Plugins\\noext"), at("\\Plugins\\NoExt")));  // case only
  EXPECT_EQ(findAll(at("\\Plugins\\noext")), std::vector<std::string>{"NoExt"});
  EXPECT_EQ(failureOf(MoveFileA(at("\\Plugins\\none"), at("\\Plugins\\other"))),
            ERROR_FILE_NOT_FOUND);

  EXPECT_TRUE(DeleteFileA(at("\\MOVED.VAD")));
  EXPECT_EQ(failureOf(DeleteFileA(at("/moved.vad"))), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(failureOf(DeleteFileA(at("\\Plugins\\"))), ERROR_ACCESS_DENIED);  // folders stay
}

// A file another writer creates at the target while a move runs is never replaced: either the
// move fails or the writer's exclusive create does, never both succeed.
TEST_F(FindFileTest, MoveNeverReplacesAFileCreatedWhileItRuns) {
  std::string target = temp.path() + "/raced.txt";
  int bothWon = 0;
  for (int round = 0; round < 300; ++round) {
    temp.write("mine.txt", "mine");
    std::atomic<bool> go{false}, created{false};
    std::thread writer([&] {
      while (!go) {}
      int fd = ::open(target.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0644);
      if (fd >= 0) {
        created = ::write(fd, "theirs", 6) == 6;
        ::close(fd);
      }
    });
    go = true;
    BOOL moved = MoveFileA(at("\\mine.txt"), target.c_str());
    writer.join();
    if (moved && created) ++bothWon;
    ::unlink(target.c_str());
    ::unlink((temp.path() + "/mine.txt").c_str());
  }
  EXPECT_EQ(bothWon, 0);
}

TEST_F(FindFileTest, CurrentFolderFollowsSetAndReportsTheSizeItNeeds) {
  char before[4096];
  ASSERT_GT(GetCurrentDirectoryA(sizeof before, before), 0u);
  ASSERT_TRUE(SetCurrentDirectoryA((windowsPath(temp.path()) + "\\PLUGINS").c_str()));
  char now[4096];
  ASSERT_GT(GetCurrentDirectoryA(sizeof now, now), 0u);
  EXPECT_EQ(std::string(now).substr(std::string(now).size() - 8), "/Plugins");
  char tiny[4];
  EXPECT_EQ(GetCurrentDirectoryA(sizeof tiny, tiny), std::string(now).size() + 1);
  EXPECT_EQ(findAll("*.vsy"), std::vector<std::string>{"vtray.vsy"});
  EXPECT_EQ(failureOf(SetCurrentDirectoryA("no such folder")), ERROR_PATH_NOT_FOUND);
  EXPECT_TRUE(SetCurrentDirectoryA(before));
}

}  // namespace
