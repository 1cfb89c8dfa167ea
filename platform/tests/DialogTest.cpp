// The common dialogs through their prepared answers: what each dialog showed, what comes back
// in the caller's record, and that a cancel leaves the record as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/testing.h"
#include "platform/win32.h"

namespace {

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override { vorntest::clearDialogs(); }
  void TearDown() override { vorntest::clearDialogs(); }
};

LOGFONTA logFont(const char* face, int points, LONG weight, bool italic, bool underline) {
  LOGFONTA font{};
  font.lfHeight = -MulDiv(points, 96, 72);
  font.lfWeight = weight;
  font.lfItalic = italic;
  font.lfUnderline = underline;
  std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  return font;
}

CHOOSEFONTA fontRecord(LOGFONTA* font, DWORD flags) {
  CHOOSEFONTA choose{};
  choose.lStructSize = sizeof choose;
  choose.lpLogFont = font;
  choose.Flags = flags;
  return choose;
}

const DWORD kToolkitFontFlags =
    CF_SCREENFONTS | CF_PRINTERFONTS | CF_INITTOLOGFONTSTRUCT | CF_ANSIONLY;

TEST_F(DialogTest, FontConfirmedUnchangedKeepsSizeStyleAndFace) {
  struct Case {
    int points;
    LONG weight;
    bool italic;
    bool underline;
  };
  const Case cases[] = {
      {9, FW_BOLD, true, false}, {11, FW_NORMAL, false, true}, {25, FW_BOLD, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.points);
    LOGFONTA font = logFont("Courier New", c.points, c.weight, c.italic, c.underline);
    CHOOSEFONTA choose = fontRecord(&font, kToolkitFontFlags);
    vorntest::answerNextFontDialogUnchanged();
    ASSERT_TRUE(ChooseFontA(&choose));

    EXPECT_EQ(vorntest::shownFontDialogs().back().shown.pointSize, c.points * 10);
    EXPECT_EQ(choose.iPointSize / 10, c.points);
    EXPECT_EQ(font.lfHeight, -MulDiv(c.points, 96, 72));
    EXPECT_EQ(font.lfWeight, c.weight);
    EXPECT_EQ(font.lfItalic != 0, c.italic);
    // Without CF_EFFECTS the dialog offers no underline, so it stays as it was.
    EXPECT_EQ(font.lfUnderline != 0, c.underline);
    EXPECT_STREQ(font.lfFaceName, "Courier New");
  }
}

TEST_F(DialogTest, FontAnswerFillsLogFontPointSizeAndColourWithEffects) {
  LOGFONTA font = logFont("Sans", 10, FW_NORMAL, false, false);
  CHOOSEFONTA choose = fontRecord(&font, CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS);
  choose.rgbColors = RGB(1, 2, 3);
  vorntest::FontChoice answer;
  answer.face = "Serif";
  answer.pointSize = 120;
  answer.weight = FW_BOLD;
  answer.underline = true;
  answer.colour = RGB(200, 10, 20);
  vorntest::answerNextFontDialog(answer);
  ASSERT_TRUE(ChooseFontA(&choose));
  EXPECT_EQ(choose.iPointSize, 120);
  EXPECT_EQ(font.lfHeight, -16);
  EXPECT_TRUE(font.lfWeight == FW_BOLD && font.lfUnderline == 1);
  EXPECT_STREQ(font.lfFaceName, "Serif");
  EXPECT_EQ(choose.rgbColors, RGB(200, 10, 20));
  EXPECT_EQ(choose.nFontType & (BOLD_FONTTYPE | REGULAR_FONTTYPE), BOLD_FONTTYPE);
}

TEST_F(DialogTest, LongFaceIsCutAtACharacterBoundaryAndTerminated) {
  LOGFONTA font = logFont("Sans", 10, FW_NORMAL, false, false);
  std::memset(font.lfFaceName, 'x', LF_FACESIZE);  // an unterminated face must be read safely
  CHOOSEFONTA choose = fontRecord(&font, kToolkitFontFlags);
  vorntest::FontChoice answer;
  answer.face = std::string(30, 'a') + "\xC3\xA9\xC3\xA9";  // the first e-acute straddles byte 31
  vorntest::answerNextFontDialog(answer);
  ASSERT_TRUE(ChooseFontA(&choose));
  EXPECT_EQ(std::string(font.lfFaceName), std::string(30, 'a'));
  // Kept unchanged, the caller's own face comes back, cut to fit.
  std::memset(font.lfFaceName, 'x', LF_FACESIZE);
  vorntest::answerNextFontDialogUnchanged();
  ASSERT_TRUE(ChooseFontA(&choose));
  EXPECT_EQ(std::string(font.lfFaceName), std::string(LF_FACESIZE - 1, 'x'));
}

// The dialog lists installed families only: a Windows face this machine lacks opens it on the
// face that draws it, and a person who keeps that face gets the stored name back.
TEST_F(DialogTest, FontDialogOpensOnTheDrawnFaceAndKeepsTheStoredName) {
  const std::pair<const char*, const char*> faces[] = {{"VT100", "DejaVu Sans Mono"},
                                                       {"Lucida Console", "DejaVu Sans Mono"},
                                                       {"Times New Roman", "Liberation Serif"}};
  for (const auto& [stored, drawn] : faces) {
    SCOPED_TRACE(stored);
    LOGFONTA font = logFont(stored, 9, FW_BOLD, true, false);
    CHOOSEFONTA choose = fontRecord(&font, kToolkitFontFlags);
    vorntest::FontChoice sizeOnly;
    sizeOnly.face = std::string(drawn) + " [PfEd]";  // as Qt names a family two foundries make
    sizeOnly.pointSize = 140;
    sizeOnly.weight = FW_BOLD;
    sizeOnly.italic = true;
    vorntest::answerNextFontDialog(sizeOnly);
    ASSERT_TRUE(ChooseFontA(&choose));
    vorntest::FontChoice shown = vorntest::shownFontDialogs().back().shown;
    EXPECT_EQ(shown.face, drawn);
    EXPECT_EQ(shown.pointSize, 90);
    EXPECT_TRUE(shown.weight == FW_BOLD && shown.italic);
    EXPECT_STREQ(font.lfFaceName, stored);
    EXPECT_EQ(choose.iPointSize, 140);
    EXPECT_TRUE(font.lfWeight == FW_BOLD && font.lfItalic);
  }
  // Another face is taken as chosen, without the foundry.
  LOGFONTA font = logFont("VT100", 10, FW_NORMAL, false, false);
  CHOOSEFONTA choose = fontRecord(&font, kToolkitFontFlags);
  vorntest::FontChoice other;
  other.face = "C059 [UKWN]";
  vorntest::answerNextFontDialog(other);
  ASSERT_TRUE(ChooseFontA(&choose));
  EXPECT_STREQ(font.lfFaceName, "C059");
}

OPENFILENAMEA fileRecord(char* buffer, DWORD size, const char* filter) {
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.lpstrFile = buffer;
  ofn.nMaxFile = size;
  ofn.lpstrFilter = filter;
  return ofn;
}

TEST_F(DialogTest, CancelledOrUnansweredDialogsLeaveTheirRecordsUnchanged) {
  LOGFONTA font = logFont("Sans", 10, FW_BOLD, true, false);
  CHOOSEFONTA choose = fontRecord(&font, kToolkitFontFlags);
  choose.iPointSize = 77;
  const LOGFONTA fontBefore = font;
  const CHOOSEFONTA chooseBefore = choose;
  vorntest::cancelNextFontDialog();
  EXPECT_FALSE(ChooseFontA(&choose));
  // Nothing prepared: offscreen, the dialog is cancelled instead of blocking.
  EXPECT_FALSE(ChooseFontA(&choose));
  EXPECT_EQ(std::memcmp(&font, &fontBefore, sizeof font), 0);
  EXPECT_EQ(std::memcmp(&choose, &chooseBefore, sizeof choose), 0);
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_EQ(vorntest::shownFontDialogs().size(), 2u);

  COLORREF custom[16] = {RGB(1, 1, 1)};
  CHOOSECOLORA colour{sizeof(CHOOSECOLORA),     nullptr, nullptr, RGB(9, 8, 7), custom,
                      CC_RGBINIT | CC_ANYCOLOR, 0,       nullptr, nullptr};
  vorntest::ColourChoice answer;
  answer.customIndex = 0;  // a slot changed in a dialog that is then cancelled stays unchanged
  answer.customColour = RGB(5, 5, 5);
  vorntest::cancelNextColourDialog();
  EXPECT_FALSE(ChooseColorA(&colour));
  EXPECT_FALSE(ChooseColorA(&colour));
  EXPECT_EQ(colour.rgbResult, RGB(9, 8, 7));
  EXPECT_EQ(custom[0], RGB(1, 1, 1));

  char file[MAX_PATH] = "start.txt";
  OPENFILENAMEA ofn = fileRecord(file, sizeof file, nullptr);
  vorntest::cancelNextFileDialog();
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_FALSE(GetSaveFileNameA(&ofn));
  EXPECT_STREQ(file, "start.txt");
  EXPECT_EQ(ofn.nFileOffset, 0);

  BROWSEINFOA info{};
  vorntest::cancelNextFolderDialog();
  EXPECT_EQ(SHBrowseForFolderA(&info), nullptr);
  EXPECT_EQ(SHBrowseForFolderA(&info), nullptr);
}

TEST_F(DialogTest, ColourDialogStartsOnTheColourAndKeepsEachCallersCustomColours) {
  COLORREF first[16] = {};
  COLORREF second[16] = {};
  for (int i = 0; i < 16; ++i) second[i] = RGB(i, 100, 200);
  CHOOSECOLORA choose{sizeof(CHOOSECOLORA),     nullptr, nullptr, RGB(10, 20, 30), first,
                      CC_RGBINIT | CC_ANYCOLOR, 0,       nullptr, nullptr};
  vorntest::answerNextColourDialog({RGB(40, 50, 60), 3, RGB(7, 7, 7)});
  ASSERT_TRUE(ChooseColorA(&choose));
  EXPECT_EQ(choose.rgbResult, RGB(40, 50, 60));
  EXPECT_EQ(first[3], RGB(7, 7, 7));

  // Another table shows its own colours, not the ones the first call left in the dialog.
  choose.lpCustColors = second;
  vorntest::answerNextColourDialog({RGB(1, 2, 3), -1, 0});
  ASSERT_TRUE(ChooseColorA(&choose));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(second[i], RGB(i, 100, 200));

  // Back to the first table: its stored slot is shown again and kept.
  choose.lpCustColors = first;
  choose.Flags = CC_ANYCOLOR;  // without CC_RGBINIT the dialog starts on black
  vorntest::answerNextColourDialog({RGB(4, 5, 6), -1, 0});
  ASSERT_TRUE(ChooseColorA(&choose));
  EXPECT_EQ(first[3], RGB(7, 7, 7));
  std::vector<vorntest::ShownColourDialog> shown = vorntest::shownColourDialogs();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].initial, RGB(10, 20, 30));
  EXPECT_EQ(shown[1].customColours.at(3), RGB(3, 100, 200));
  EXPECT_EQ(shown[2].customColours.at(3), RGB(7, 7, 7));
  EXPECT_EQ(shown[2].initial, RGB(0, 0, 0));
}

TEST_F(DialogTest, FileDialogShowsParsedFiltersAndFillsNameOffsets) {
  static const char kFilter[] = "Text files\0*.txt;*.log\0All files\0*.*\0Dangling\0\0";
  char buffer[MAX_PATH] = "old.txt";
  OPENFILENAMEA ofn = fileRecord(buffer, sizeof buffer, kFilter);
  ofn.nFilterIndex = 2;
  char title[8];
  ofn.lpstrFileTitle = title;
  ofn.nMaxFileTitle = sizeof title;
  vorntest::answerNextFileDialog("/home/ann/notes.v2.txt");
  ASSERT_TRUE(GetOpenFileNameA(&ofn));

  vorntest::ShownFileDialog shown = vorntest::shownFileDialogs().back();
  ASSERT_EQ(shown.filters.size(), 2u) << "a description without a pattern ends the list";
  EXPECT_EQ(shown.filters[0].description + "|" + shown.filters[0].patterns,
            "Text files|*.txt;*.log");
  EXPECT_EQ(shown.filters[1].patterns, "*.*");
  EXPECT_EQ(shown.initialFile, "old.txt");

  EXPECT_STREQ(buffer, "/home/ann/notes.v2.txt");
  EXPECT_EQ(ofn.nFileOffset, 10);
  EXPECT_EQ(ofn.nFileExtension, 19);
  EXPECT_STREQ(title, "notes.v");  // cut to its buffer

  struct Case {
    const char* answer;
    const char* defExt;
    const char* result;
    WORD offset;
    WORD extension;
  };
  const Case cases[] = {
      {"/a/b", nullptr, "/a/b", 3, 4},              // no extension: the end of the path
      {"/a.d/b", nullptr, "/a.d/b", 5, 6},          // a dot in a folder is no extension
      {"/a/b", "txt", "/a/b.txt", 3, 5},            // the default extension is added
      {"/a/b.log", "txt", "/a/b.log", 3, 5},        // but not to a name that has one
      {"c:\\x\\y.z", nullptr, "c:\\x\\y.z", 5, 7},  // backslashes separate too
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    OPENFILENAMEA save = fileRecord(buffer, sizeof buffer, nullptr);
    save.lpstrDefExt = c.defExt;
    vorntest::answerNextFileDialog(c.answer);
    ASSERT_TRUE(GetSaveFileNameA(&save));
    EXPECT_STREQ(buffer, c.result);
    EXPECT_EQ(save.nFileOffset, c.offset);
    EXPECT_EQ(save.nFileExtension, c.extension);
  }
}

TEST_F(DialogTest, PathThatDoesNotFitFailsAndReportsTheSizeNeeded) {
  char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  buffer[0] = '\0';
  OPENFILENAMEA ofn = fileRecord(buffer, 10, nullptr);
  vorntest::answerNextFileDialog("/home/a.txt");  // 11 bytes and the NUL
  EXPECT_FALSE(GetOpenFileNameA(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
  WORD needed = 0;
  std::memcpy(&needed, buffer, sizeof needed);
  EXPECT_EQ(needed, 12);
  EXPECT_EQ(buffer[10], '#');  // nothing written past nMaxFile

  vorntest::answerNextFileDialog("/home/a.t");  // exactly 10 with the NUL fits
  EXPECT_TRUE(GetOpenFileNameA(&ofn));
  EXPECT_STREQ(buffer, "/home/a.t");
  EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(DialogTest, FolderDialogGivesAnItemListWithThePath) {
  char name[MAX_PATH] = "";
  BROWSEINFOA info{};
  info.pszDisplayName = name;
  vorntest::answerNextFolderDialog("/home/ann/Downloads/");
  LPITEMIDLIST list = SHBrowseForFolderA(&info);
  ASSERT_NE(list, nullptr);
  char path[MAX_PATH] = "";
  EXPECT_TRUE(SHGetPathFromIDListA(list, path));
  EXPECT_STREQ(path, "/home/ann/Downloads/");
  EXPECT_STREQ(name, "Downloads");
  CoTaskMemFree(list);

  // A path that cannot fit the caller's MAX_PATH buffer is refused, not overrun.
  vorntest::answerNextFolderDialog(("/" + std::string(MAX_PATH, 'd')).c_str());
  list = SHBrowseForFolderA(&info);
  ASSERT_NE(list, nullptr);
  EXPECT_FALSE(SHGetPathFromIDListA(list, path));
  EXPECT_EQ(std::strlen(name), static_cast<size_t>(MAX_PATH - 1));
  CoTaskMemFree(list);
}

}  // namespace
