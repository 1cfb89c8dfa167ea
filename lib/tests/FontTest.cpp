#include "lib/Font.h"

#include "platform/testing.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Deleting a font twice or never shows up under the address sanitizer's checks, so these tests
// count on the sanitizer run to notice a font that release or releaseOwner mishandles.
TEST(FontTest, LastWindowReleaseDeletesAFontTheOwnerLetGo) {
  Font* font = new Font("Sans", 10);
  font->addRef();
  font->addRef();
  font->releaseOwner();  // two windows still hold it
  EXPECT_EQ(1, font->release());
  EXPECT_STREQ("Sans", font->getFace());  // still alive for the second window
  EXPECT_EQ(0, font->release());          // the second window's release deletes it
}

TEST(FontTest, OwnerReleaseDeletesAnUnheldFontAtOnce) {
  Font* font = new Font("Sans", 10);
  font->addRef();
  EXPECT_EQ(0, font->release());  // the owner still has it: it stays
  font->setSize(9);
  EXPECT_EQ(9, font->getSize());
  font->releaseOwner();
}

TEST(FontTest, ReleaseWithoutReferenceNeverGoesBelowZero) {
  Font* font = new Font("Sans", 10);
  EXPECT_EQ(0, font->release());
  EXPECT_EQ(0, font->release());
  // A count stuck below zero would keep the font alive for ever (a leak) or delete it while the
  // new holder uses it.
  font->addRef();
  font->releaseOwner();
  EXPECT_STREQ("Sans", font->getFace());
  EXPECT_EQ(0, font->release());
}

TEST(FontTest, SetFaceKeepsItsOwnCopy) {
  Font* font = new Font(nullptr, 8);
  EXPECT_STREQ("", font->getFace());
  std::string face = "Serif";
  font->setFace(face.c_str());
  face[0] = 'X';
  EXPECT_STREQ("Serif", font->getFace());
  font->setFace(font->getFace());  // its own text: copied before the old copy goes
  EXPECT_STREQ("Serif", font->getFace());
  EXPECT_EQ(0, font->getStyle());
  font->releaseOwner();
}

class FontDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { vorntest::clearDialogs(); }
  void TearDown() override {
    vorntest::clearDialogs();
    font->releaseOwner();
  }
  Font* font = new Font("DejaVu Sans", 9);
};

TEST_F(FontDialogTest, ConfirmedUnchangedKeepsSizeAndStyle) {
  font->setStyle(Font::Bold | Font::Italic);
  vorntest::answerNextFontDialogUnchanged();
  ASSERT_TRUE(font->chooseFont());

  auto shown = vorntest::shownFontDialogs();
  ASSERT_EQ(1u, shown.size());
  EXPECT_EQ(nullptr, shown[0].owner);
  EXPECT_EQ(0x443u, shown[0].flags);
  EXPECT_EQ("DejaVu Sans", shown[0].shown.face);
  EXPECT_EQ(90, shown[0].shown.pointSize);
  EXPECT_GE(shown[0].shown.weight, 700);
  EXPECT_TRUE(shown[0].shown.italic);
  EXPECT_FALSE(shown[0].shown.underline);

  EXPECT_EQ(9, font->getSize());
  EXPECT_EQ(Font::Bold | Font::Italic, font->getStyle());
  EXPECT_STREQ("DejaVu Sans", font->getFace());
}

TEST_F(FontDialogTest, ChosenFontReplacesFaceSizeAndStyle) {
  // The dialog is opened without effects, so the underline stays what the font had, whatever
  // the answer says.
  struct Case {
    int styleBefore;
    int weight;
    bool italic;
    bool underline;
    int style;
  };
  const Case cases[] = {
      {0, 400, false, true, 0},
      {Font::Underline, 700, false, false, Font::Underline | Font::Bold},
      {Font::Bold, 900, true, true, Font::Bold | Font::Italic},
      {Font::Bold | Font::Italic, 600, true, false, Font::Italic},
      {Font::Italic, 400, false, false, 0},
  };
  for (const Case& c : cases) {
    font->setStyle(c.styleBefore);
    vorntest::FontChoice choice;
    choice.face = "Mono";
    choice.pointSize = 125;  // tenths: the font keeps whole points
    choice.weight = c.weight;
    choice.italic = c.italic;
    choice.underline = c.underline;
    vorntest::answerNextFontDialog(choice);
    ASSERT_TRUE(font->chooseFont());
    EXPECT_STREQ("Mono", font->getFace());
    EXPECT_EQ(12, font->getSize());
    EXPECT_EQ(c.style, font->getStyle()) << "weight " << c.weight;
  }
}

TEST_F(FontDialogTest, CancelChangesNothing) {
  font->setStyle(Font::Underline);
  vorntest::cancelNextFontDialog();
  EXPECT_FALSE(font->chooseFont());
  EXPECT_STREQ("DejaVu Sans", font->getFace());
  EXPECT_EQ(9, font->getSize());
  EXPECT_EQ(Font::Underline, font->getStyle());
  ASSERT_EQ(1u, vorntest::shownFontDialogs().size());
  EXPECT_TRUE(vorntest::shownFontDialogs()[0].shown.underline);
}

TEST(ColourDialogTest, ChosenColourIsWrittenBackAndCustomColoursStay) {
  vorntest::clearDialogs();
  ColourTriple colour = {10, 20, 30};
  vorntest::ColourChoice choice;
  choice.colour = RGB(200, 100, 50);
  choice.customIndex = 3;
  choice.customColour = RGB(1, 2, 3);
  vorntest::answerNextColourDialog(choice);
  ASSERT_TRUE(chooseColor(&colour));
  EXPECT_EQ(200, colour.red);
  EXPECT_EQ(100, colour.green);
  EXPECT_EQ(50, colour.blue);

  // A cancelled dialog leaves the triple as it was; it still shows the kept custom colour.
  vorntest::cancelNextColourDialog();
  EXPECT_FALSE(chooseColor(&colour));
  EXPECT_EQ(200, colour.red);
  EXPECT_EQ(100, colour.green);
  EXPECT_EQ(50, colour.blue);

  auto shown = vorntest::shownColourDialogs();
  ASSERT_EQ(2u, shown.size());
  EXPECT_EQ(RGB(10, 20, 30), shown[0].initial);
  EXPECT_EQ(0x101u, shown[0].flags);
  EXPECT_EQ(nullptr, shown[0].owner);
  ASSERT_EQ(16u, shown[1].customColours.size());
  EXPECT_EQ(RGB(1, 2, 3), shown[1].customColours[3]);
  EXPECT_EQ(RGB(200, 100, 50), shown[1].initial);
  vorntest::clearDialogs();
}

TEST(ColourDialogTest, NullColourOpensNothing) {
  vorntest::clearDialogs();
  EXPECT_FALSE(chooseColor(nullptr));
  EXPECT_TRUE(vorntest::shownColourDialogs().empty());
}

}  // namespace
