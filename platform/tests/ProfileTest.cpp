// The private-profile functions against real files: look-ups, lists, truncation, rewrites
// that keep every other byte, atomic replacement and concurrent writers.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32.h"

namespace {

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/vornprofileXXXXXX";
    ASSERT_TRUE(mkdtemp(tmpl));
    dir_ = tmpl;
    file_ = dir_ + "/Test.ini";
  }
  void TearDown() override { std::system(("rm -rf " + dir_).c_str()); }

  void put(const std::string& text) {
    FILE* f = std::fopen(file_.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  std::string content() const {
    std::string s;
    FILE* f = std::fopen(file_.c_str(), "rb");
    if (!f) return "<missing>";
    int c;
    while ((c = std::fgetc(f)) != EOF) s += static_cast<char>(c);
    std::fclose(f);
    return s;
  }
  std::string get(const char* section, const char* key, const char* def = "") const {
    char buf[256];
    DWORD n = GetPrivateProfileStringA(section, key, def, buf, sizeof buf, file_.c_str());
    return std::string(buf, n);
  }
  size_t entries() const {
    size_t n = 0;
    if (DIR* d = opendir(dir_.c_str())) {
      while (dirent* e = readdir(d)) n += e->d_name[0] != '.';
      closedir(d);
    }
    return n;
  }
  std::string dir_, file_;
};

const char* const kSample =
    "; settings\n"
    "orphan=before any section\n"
    "[General]\n"
    "Name = Alice  \n"
    "Quoted=\"  padded  \"\n"
    "Single='x'\n"
    "Mixed=\"unbalanced'\n"
    "Empty=\n"
    "  Indented\t=\tyes\n"
    "NoEquals\n"
    ";Commented=1\n"
    "[ Spaced ]\n"
    "k=v\n"
    "[general]\n"
    "Name=second\n";

TEST_F(ProfileTest, LooksUpValuesIgnoringCaseTrimmingAndStrippingQuotes) {
  put(kSample);
  struct Case { const char* section; const char* key; const char* def; const char* expected; };
  const Case cases[] = {
      {"general", "NAME", "d", "Alice"},         // case, trailing blanks, first section wins
      {"General", " Name ", "d", "Alice"},       // the caller's key is trimmed too
      {"General", "Quoted", "d", "  padded  "},  // quotes protect inner blanks
      {"General", "Single", "d", "x"},
      {"General", "Mixed", "d", "\"unbalanced'"},
      {"General", "Empty", "d", ""},             // present but empty: not the default
      {"General", "indented", "d", "yes"},
      {"General", "NoEquals", "d", "d"},
      {"General", "Commented", "d", "d"},
      {"General", ";Commented", "d", "d"},
      {"Spaced", "k", "d", "v"},
      {"General", "orphan", "d", "d"},
      {"General", "Missing", "dflt \t ", "dflt"},  // default loses its trailing blanks
      {"Nowhere", "Name", nullptr, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, get(c.section, c.key, c.def)) << c.section << "/" << c.key;
}

TEST_F(ProfileTest, ValuesAreTruncatedToTheBuffer) {
  put("[S]\nk=Alice\n");
  char buf[8] = "zzzzzzz";
  EXPECT_EQ(2u, GetPrivateProfileStringA("S", "k", "", buf, 3, file_.c_str()));
  EXPECT_STREQ("Al", buf);
  EXPECT_EQ(0u, GetPrivateProfileStringA("S", "k", "", buf, 0, file_.c_str()));
  EXPECT_STREQ("Al", buf);  // size 0 writes nothing
  EXPECT_EQ(0u, GetPrivateProfileStringA("S", "k", "", buf, 1, file_.c_str()));
  EXPECT_STREQ("", buf);
}

TEST_F(ProfileTest, ListsKeysAndSectionsWithWindowsTruncation) {
  put(kSample);
  struct Case { const char* section; DWORD size; DWORD count; std::string expected; };
  const std::string keys("Name\0Quoted\0Single\0Mixed\0Empty\0Indented\0", 40);
  const std::string sections("General\0Spaced\0", 15);  // "[general]" is the same section
  const Case cases[] = {
      {"General", 100, 40, keys + '\0'},
      {"General", 41, 40, keys + '\0'},                        // exactly fits
      {"General", 40, 38, keys.substr(0, 38) + '\0' + '\0'},  // cut: size - 2, two NULs
      {"General", 8, 6, std::string("Name\0Q\0\0", 8)},
      {"General", 2, 0, std::string("\0\0", 2)},
      {"Missing", 10, 0, std::string("\0\0", 2)},
      {nullptr, 100, 15, sections + '\0'},
      {nullptr, 10, 8, std::string("General\0\0\0", 10)},
  };
  for (const Case& c : cases) {
    std::vector<char> buf(c.size + 4, 'z');
    EXPECT_EQ(c.count, GetPrivateProfileStringA(c.section, nullptr, "x", buf.data(), c.size,
                                                file_.c_str()))
        << (c.section ? c.section : "sections") << " size " << c.size;
    EXPECT_EQ(c.expected, std::string(buf.data(), c.expected.size()));
    EXPECT_EQ('z', buf[c.size]);  // nothing written past the buffer
  }
}

TEST_F(ProfileTest, ReadsIntegers) {
  put("[N]\na=42\nb=  -7\nc=+5\nd=0x1F\ne=12abc\nf=abc\ng=\nh=\"9\"\ni=4294967295\n");
  struct Case { const char* key; UINT expected; };
  const Case cases[] = {{"a", 42}, {"b", static_cast<UINT>(-7)}, {"c", 5}, {"d", 31},
                        {"e", 12}, {"f", 0},  {"g", 99}, {"h", 9}, {"i", 0xFFFFFFFFu},
                        {"missing", 99}};
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, GetPrivateProfileIntA("N", c.key, 99, file_.c_str())) << c.key;
}

// One edit: a null key deletes the section, a null value the key.
struct Edit { const char* section; const char* key; const char* value; };

TEST_F(ProfileTest, EditsChangeOnlyWhatTheyName) {
  struct Case { const char* name; const char* before; std::vector<Edit> edits; const char* after; };
  const Case cases[] = {
      {"creates file, sections and keys; finds them ignoring case", nullptr,
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
      {"deleting what is missing creates no file", nullptr,
       {{"A", "k", nullptr}, {"A", nullptr, nullptr}}, "<missing>"},
      {"a value cannot spill into lines of its own", nullptr, {{"S", "k", "v\n[Evil]\nx=1"}},
       "[S]\nk=v\n"},
      {"names read back as written, so rewrites do not duplicate them", nullptr,
       {{"a]b", "k", "1"}, {"  Pad  ", " key ", "2"}, {"a]b", "k", "1"}, {"Pad", "KEY", "3"}},
       "[a]b]\nk=1\n[Pad]\nkey=3\n"},
  };
  for (const Case& c : cases) {
    std::remove(file_.c_str());
    if (c.before) put(c.before);
    for (const Edit& e : c.edits)
      EXPECT_TRUE(WritePrivateProfileStringA(e.section, e.key, e.value, file_.c_str())) << c.name;
    EXPECT_EQ(c.after, content()) << c.name;
    EXPECT_EQ(1u, entries() + (c.after == std::string("<missing>"))) << "temporary file left";
  }
  EXPECT_EQ("1", get("a]b", "k"));
}

TEST_F(ProfileTest, RefusesNamesThatWouldNotReadBack) {
  const char* badKeys[] = {"a=b", "", "  ", "[x", ";x", "k\nz"};
  for (const char* key : badKeys)
    EXPECT_FALSE(WritePrivateProfileStringA("S", key, "1", file_.c_str())) << key;
  EXPECT_FALSE(WritePrivateProfileStringA("S\nT", "k", "1", file_.c_str()));
  EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "k", "1", file_.c_str()));
  EXPECT_EQ("<missing>", content());
  EXPECT_EQ("fallback", get("S", "k", "fallback"));  // a missing file reads as empty
  EXPECT_EQ(7u, GetPrivateProfileIntA("S", "k", 7, file_.c_str()));
}

TEST_F(ProfileTest, SectionDataReplacesTheSectionKeepingBlankSeparators) {
  put("[A]\nold=1\n; note\n\n[B]\nx=1\n");
  ASSERT_TRUE(WritePrivateProfileSectionA("a", "p=1\0q=2\0", file_.c_str()));
  EXPECT_EQ("[A]\np=1\nq=2\n\n[B]\nx=1\n", content());
  ASSERT_TRUE(WritePrivateProfileSectionA("B", nullptr, file_.c_str()));
  EXPECT_EQ("[A]\np=1\nq=2\n\n", content());
}

TEST_F(ProfileTest, CrLfFilesWithAByteOrderMarkRead) {
  put("\xEF\xBB\xBF[S]\r\na=1\r\nb = \"q\" \r\n");
  EXPECT_EQ("1", get("S", "a"));
  EXPECT_EQ("q", get("S", "b"));
  EXPECT_EQ(1u, GetPrivateProfileIntA("S", "a", 5, file_.c_str()));
}

TEST_F(ProfileTest, Win32NamesReachTheFileInAnyCase) {
  put("[S]\nk=v\n");
  char old[4096];
  ASSERT_TRUE(getcwd(old, sizeof old));
  ASSERT_EQ(0, chdir(dir_.c_str()));
  char buf[16];
  DWORD n = GetPrivateProfileStringA("S", "k", "", buf, sizeof buf, ".\\TEST.INI");
  BOOL wrote = WritePrivateProfileStringA("S", "w", "1", ".\\test.ini");
  ASSERT_EQ(0, chdir(old));
  EXPECT_EQ(1u, n);
  EXPECT_TRUE(wrote);
  EXPECT_EQ("[S]\nk=v\nw=1\n", content());
}

TEST_F(ProfileTest, RewritesKeepPermissionsAndFailedWritesKeepTheFile) {
  put("[S]\nk=1\n");
  ASSERT_EQ(0, chmod(file_.c_str(), 0640));
  ASSERT_TRUE(WritePrivateProfileStringA("S", "k", "2", file_.c_str()));
  struct stat st;
  ASSERT_EQ(0, stat(file_.c_str(), &st));
  EXPECT_EQ(0640u, st.st_mode & 0777);
  ASSERT_EQ(0, unlink(file_.c_str()));
  EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", (dir_ + "/no/such/x.ini").c_str()));
  EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", nullptr));
  // A path that exists but cannot be read as a file is never written over.
  ASSERT_EQ(0, mkdir(file_.c_str(), 0755));
  EXPECT_FALSE(WritePrivateProfileStringA("S", "k", "v", file_.c_str()));
  ASSERT_EQ(0, stat(file_.c_str(), &st));
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(1u, entries());
}

TEST_F(ProfileTest, ConcurrentWritersLoseNoKey) {
  const int threads = 8, keys = 25;
  std::vector<std::thread> writers;
  for (int t = 0; t < threads; ++t)
    writers.emplace_back([this, t] {
      for (int k = 0; k < keys; ++k) {
        std::string key = "k" + std::to_string(t) + "_" + std::to_string(k);
        std::string section = "S" + std::to_string(k % 3);
        WritePrivateProfileStringA(section.c_str(), key.c_str(), key.c_str(), file_.c_str());
        get(section.c_str(), key.c_str());  // readers run alongside the writers
      }
    });
  for (std::thread& w : writers) w.join();
  for (int t = 0; t < threads; ++t)
    for (int k = 0; k < keys; ++k) {
      std::string key = "k" + std::to_string(t) + "_" + std::to_string(k);
      EXPECT_EQ(key, get(("S" + std::to_string(k % 3)).c_str(), key.c_str()));
    }
  EXPECT_EQ(1u, entries());
}

}  // namespace
