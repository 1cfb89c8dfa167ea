// The private-profile functions against real files: look-ups, lists, truncation, rewrites
// that keep every other byte, atomic replacement and concurrent writers.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/tests/TempFolder.h"
#include "platform/tests/WindowTestKit.h"
#include "platform/win32.h"

namespace {

namespace fs = std::filesystem;

class ProfileTest : public ::testing::Test {
 protected:
  std::string onDisk() const { return fs::exists(file_) ? tmp_.read("Test.ini") : "<missing>"; }
  // Flushed first: once a message loop ran on this thread (an earlier test), writes wait for it.
  std::string content() const {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file_.c_str());
    return onDisk();
  }
  std::string get(const char* section, const char* key, const char* def = "") const {
    char buf[256];
    DWORD n = GetPrivateProfileStringA(section, key, def, buf, sizeof buf, file_.c_str());
    return std::string(buf, n);
  }
  // Files in the folder: a rewrite must leave no temporary file behind.
  size_t entries() const {
    fs::directory_iterator files(tmp_.path()), end;
    return static_cast<size_t>(std::distance(files, end));
  }
  TempFolder tmp_;
  std::string file_ = tmp_.file("Test.ini");
};

const char* const kSample =
    "; settings\n[General]\nName = Alice  \nQuoted=\"  padded  \"\nSingle='x'\n"
    "Mixed=\"unbalanced'\nEmpty=\n  Indented\t=\tyes\nNoEquals\n;Commented=1\n"
    "[ Spaced ]\nk=v\n[general]\nName=second\n";

TEST_F(ProfileTest, LooksUpValuesIgnoringCaseTrimmingAndStrippingQuotes) {
  tmp_.write("Test.ini", kSample);
  // Section, key, default, expected.
  const char* const cases[][4] = {
      {"general", "NAME", "d", "Alice"},         // case, trailing blanks, first section wins
      {"General", " Name ", "d", "Alice"},       // the caller's key is trimmed too
      {"General", "Quoted", "d", "  padded  "},  // quotes protect inner blanks
      {"General", "Mixed", "d", "\"unbalanced'"},
      {"General", "Empty", "d", ""},  // present but empty: not the default
      {"General", "indented", "d", "yes"},
      {"General", "NoEquals", "d", "d"},
      {"General", ";Commented", "d", "d"},
      {"Spaced", "k", "d", "v"},
      {"General", "Missing", "dflt \t ", "dflt"},  // default loses its trailing blanks
      {"Nowhere", "Name", nullptr, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c[3], get(c[0], c[1], c[2])) << c[0] << "/" << c[1];
}

TEST_F(ProfileTest, ValuesAndListsAreCutToTheBuffer) {
  tmp_.write("Test.ini", kSample);
  char buf[8] = "zzzzzzz";
  EXPECT_EQ(2u, GetPrivateProfileStringA("General", "Name", "", buf, 3, file_.c_str()));
  EXPECT_EQ(0u, GetPrivateProfileStringA("General", "Name", "", buf, 0, file_.c_str()));
  EXPECT_STREQ("Al", buf);  // size 0 wrote nothing

  // Lists: every name ends in NUL, the list in a second one; a cut list keeps both NULs.
  struct Case {
    const char* section;
    DWORD size;
    DWORD count;
    std::string expected;
  };
  const std::string keys("Name\0Quoted\0Single\0Mixed\0Empty\0Indented\0", 40);
  const Case cases[] = {
      {"General", 41, 40, keys + '\0'},  // exactly fits
      {"General", 40, 38, keys.substr(0, 38) + '\0' + '\0'},
      {"General", 2, 0, std::string("\0\0", 2)},
      {"Missing", 10, 0, std::string("\0\0", 2)},
      // "[general]" is its own header, though it reads as "[General]".
      {nullptr, 100, 23, std::string("General\0Spaced\0general\0\0", 24)},
  };
  for (const Case& c : cases) {
    std::vector<char> list(c.size + 4, 'z');
    EXPECT_EQ(c.count,
              GetPrivateProfileStringA(c.section, nullptr, "x", list.data(), c.size, file_.c_str()))
        << (c.section ? c.section : "sections") << " size " << c.size;
    EXPECT_EQ(c.expected, std::string(list.data(), c.expected.size()));
    EXPECT_EQ('z', list[c.size]);  // nothing written past the buffer
  }
}

TEST_F(ProfileTest, ReadsIntegers) {
  tmp_.write("Test.ini", "[N]\na=42\nb=  -7\nd=0x1F\ne=12abc\nf=abc\ng=\nh=\"9\"\ni=4294967295\n");
  const std::pair<const char*, UINT> cases[] = {
      {"a", 42}, {"b", static_cast<UINT>(-7)}, {"d", 31},      {"e", 12}, {"f", 0}, {"g", 99},
      {"h", 9},  {"i", 0xFFFFFFFFu},           {"missing", 99}};
  for (auto [key, expected] : cases)
    EXPECT_EQ(expected, GetPrivateProfileIntA("N", key, 99, file_.c_str())) << key;
}

// One edit: a null key deletes the section, a null value the key.
struct Edit {
  const char* section;
  const char* key;
  const char* value;
};

TEST_F(ProfileTest, EditsChangeOnlyWhatTheyName) {
  struct Case {
    const char* name;
    const char* before;
    std::vector<Edit> edits;
    const char* after;
  };
  const Case cases[] = {
      {"creates file, sections and keys; finds them ignoring case",
       nullptr,
       {{"One", "a", "1"}, {"Two", "b", "2"}, {"one", "c", "3"}, {"ONE", "A", "4"}},
       "[One]\na=4\nc=3\n[Two]\nb=2\n"},
      {"keeps other lines byte for byte; new keys follow the last key",
       "; head\r\n[A]\r\nkeep =  spaced \r\nold=1\r\n\r\n; about B\r\n[B]\r\nx=1",
       {{"A", "OLD", "2"}, {"A", "new", "n"}, {"B", "y", "2"}},
       "; head\r\n[A]\r\nkeep =  spaced \r\nold=2\r\nnew=n\r\n\r\n; about B\r\n"
       "[B]\r\nx=1\r\ny=2\r\n"},
      {"deletes a key, then a section in every spelling with its comments",
       "[A]\na=1\nb=2\n[B]\nc=3\n[a]\n; in a\nd=4\n",
       {{"A", "a", nullptr}, {"a", nullptr, nullptr}},
       "[B]\nc=3\n"},
      {"sections after a deleted one are still found, and a new one goes last",
       "[A]\na=1\n[B]\nb=1\n[C]\nc=1\n",
       {{"A", nullptr, nullptr}, {"c", "c", "2"}, {"B", "b", "2"}, {"a", "a", "3"}},
       "[B]\nb=2\n[C]\nc=2\n[a]\na=3\n"},
      {"deleting what is missing creates no file",
       nullptr,
       {{"A", "k", nullptr}, {"A", nullptr, nullptr}},
       "<missing>"},
      {"a value cannot spill into lines of its own",
       nullptr,
       {{"S", "k", "v\n[Evil]\nx=1"}},
       "[S]\nk=v\n"},
      {"names read back as written, so rewrites do not duplicate them",
       nullptr,
       {{"a]b", "k", "1"}, {"  Pad  ", " key ", "2"}, {"a]b", "k", "1"}, {"Pad", "KEY", "3"}},
       "[a]b]\nk=1\n[Pad]\nkey=3\n"},
  };
  for (const Case& c : cases) {
    std::remove(file_.c_str());
    if (c.before) tmp_.write("Test.ini", c.before);
    for (const Edit& e : c.edits)
      EXPECT_TRUE(WritePrivateProfileStringA(e.section, e.key, e.value, file_.c_str())) << c.name;
    EXPECT_EQ(c.after, content()) << c.name;
    EXPECT_EQ(1u, entries() + (c.after == std::string("<missing>"))) << "temporary file left";
  }
}

TEST_F(ProfileTest, RefusesNamesThatWouldNotReadBack) {
  const char* const bad[][2] = {{"S", "a=b"}, {"S", ""},     {"S", "  "},   {"S", "[x"},
                                {"S", ";x"},  {"S", "k\nz"}, {"S\nT", "k"}, {nullptr, "k"}};
  for (auto [section, key] : bad)
    EXPECT_FALSE(WritePrivateProfileStringA(section, key, "1", file_.c_str())) << key;
  EXPECT_EQ("<missing>", content());
  EXPECT_EQ("fallback", get("S", "k", "fallback"));  // a missing file reads as empty
}

TEST_F(ProfileTest, SectionDataReplacesTheSectionKeepingBlankSeparators) {
  tmp_.write("Test.ini", "[A]\nold=1\n; note\n\n[B]\nx=1\n");
  ASSERT_TRUE(WritePrivateProfileSectionA("a", "p=1\0q=2\0", file_.c_str()));
  EXPECT_EQ("[A]\np=1\nq=2\n\n[B]\nx=1\n", content());
  ASSERT_TRUE(WritePrivateProfileSectionA("B", nullptr, file_.c_str()));
  EXPECT_EQ("[A]\np=1\nq=2\n\n", content());
}

TEST_F(ProfileTest, CrLfFilesWithAByteOrderMarkRead) {
  tmp_.write("Test.ini", "\xEF\xBB\xBF[S]\r\na=1\r\nb = \"q\" \r\n");
  EXPECT_EQ("1", get("s", "A"));  // the mark does not hide the first section
  EXPECT_EQ("q", get("S", "b"));
}

TEST_F(ProfileTest, RewritesKeepPermissionsAndFailedWritesKeepTheFile) {
  tmp_.write("Test.ini", "[S]\nk=1\n");
  fs::permissions(file_, fs::perms(0640));
  ASSERT_TRUE(WritePrivateProfileStringA("S", "k", "2", (tmp_.path() + "\\test.INI").c_str()));
  EXPECT_EQ("[S]\nk=2\n", content());
  EXPECT_EQ(fs::perms(0640), fs::status(file_).permissions());
  ASSERT_TRUE(fs::remove(file_));
  EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", tmp_.file("no/such/x.ini").c_str()));
  EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", nullptr));
  // A path that exists but cannot be read as a file is never written over.
  ASSERT_TRUE(fs::create_directory(file_));
  EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", file_.c_str()));
  EXPECT_TRUE(fs::is_directory(file_));
  EXPECT_EQ(1u, entries());
}

TEST_F(ProfileTest, ConcurrentWritersLoseNoKey) {
  const int threads = 8, keys = 25;
  std::vector<std::thread> writers;
  for (int t = 0; t < threads; ++t)
    writers.emplace_back([this, t] {
      for (int k = t * keys; k < (t + 1) * keys; ++k) {
        std::string key = std::to_string(k);
        WritePrivateProfileStringA("S", key.c_str(), key.c_str(), file_.c_str());
        get("S", key.c_str());  // readers run alongside the writers
      }
    });
  for (std::thread& w : writers) w.join();
  for (int k = 0; k < threads * keys; ++k)
    EXPECT_EQ(std::to_string(k), get("S", std::to_string(k).c_str()));
  EXPECT_EQ(1u, entries());
}

// The GUI thread's loop collects its writes and writes them when it next waits; readers in the
// process see them at once, other threads write through, and a change another program makes
// meanwhile is kept.
TEST_F(ProfileTest, TheLoopThreadWritesOnceItWaits) {
  HWND window = windowtest::makeTop();
  MSG m;
  PostMessageA(nullptr, WM_USER, 0, 0);
  ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));  // this thread now runs the loop
  auto set = [this](const char* key, const char* value) {
    return WritePrivateProfileStringA("S", key, value, file_.c_str());
  };
  ASSERT_TRUE(set("a", "1"));
  EXPECT_EQ("1", get("S", "a"));
  EXPECT_EQ("<missing>", onDisk());
  std::thread([&] { EXPECT_TRUE(set("b", "2")); }).join();
  EXPECT_EQ("[S]\na=1\nb=2\n", onDisk());  // the other thread wrote what waited too

  ASSERT_TRUE(set("c", "3"));
  tmp_.write("Test.ini", "; edited\n[S]\na=1\nb=2\nz=9\n");
  ASSERT_TRUE(set("d", "4"));
  EXPECT_EQ("9", get("S", "z"));
  std::thread waker([window] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    PostMessageA(window, WM_USER, 0, 0);
  });
  std::string beforeWait = onDisk();
  ASSERT_TRUE(GetMessageA(&m, nullptr, 0, 0));
  waker.join();
  EXPECT_EQ("; edited\n[S]\na=1\nb=2\nz=9\n", beforeWait);
  EXPECT_EQ("; edited\n[S]\na=1\nb=2\nz=9\nc=3\nd=4\n", onDisk());

  ASSERT_TRUE(set("a", "5"));
  EXPECT_TRUE(WritePrivateProfileStringA(nullptr, nullptr, nullptr, file_.c_str()));
  EXPECT_NE(std::string::npos, onDisk().find("a=5\n"));
  DestroyWindow(window);
}

// A missing file's look-up is remembered while its folder stays as it was: a file another
// program creates under another case afterwards is still found, and so is a removed one missed.
TEST_F(ProfileTest, AMissingFileIsFoundOnceAnotherProgramCreatesIt) {
  std::this_thread::sleep_for(std::chrono::milliseconds(150));  // the folder has settled
  EXPECT_EQ("none", get("S", "k", "none"));
  EXPECT_EQ("none", get("S", "k", "none"));
  tmp_.write("TEST.INI", "[S]\nk=found\n");
  EXPECT_EQ("found", get("S", "k", "none"));
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  fs::remove(tmp_.file("TEST.INI"));
  EXPECT_EQ("none", get("S", "k", "none"));
  tmp_.write("test.INI", "[S]\nk=again\n");
  EXPECT_EQ("again", get("S", "k", "none"));
}

}  // namespace
