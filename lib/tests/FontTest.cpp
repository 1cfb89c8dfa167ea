#include "lib/Font.h"

#include "platform/testing.h"

#include <gtest/gtest.h>

namespace {

// A font deleted twice or never shows up under the sanitizer run's address and leak checks.
TEST(FontTest, ReleaseDeletesOnlyWhenOwnerAndEveryHolderLetGo) {
  Font* held = new Font("Sans", 10);
  held->addRef();
  held->addRef();
  held->releaseOwner();  // two windows still hold it
  EXPECT_EQ(1, held->release());
  EXPECT_EQ(0, held->release());  // deletes it

  Font* unbalanced = new Font("Sans", 10);
  EXPECT_EQ(0, unbalanced->release());  // no reference: stays at 0, the owner still has it
  EXPECT_EQ(0, unbalanced->release());
  unbalanced->addRef();
  unbalanced->releaseOwner();                  // held: stays
  unbalanced->setFace(unbalanced->getFace());  // its own face again: no use after free
  EXPECT_STREQ("Sans", unbalanced->getFace());
  EXPECT_EQ(0, unbalanced->release());  // deletes it
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

TEST_F(FontDialogTest, DialogShowsTheFontAndCancelChangesNothing) {
  font->setStyle(Font::Bold | Font::Italic);
  vorntest::answerNextFontDialogUnchanged();
  ASSERT_TRUE(font->chooseFont());
  vorntest::cancelNextFontDialog();
  EXPECT_FALSE(font->chooseFont());

  auto shown = vorntest::shownFontDialogs();
  ASSERT_EQ(2u, shown.size());
  EXPECT_EQ(0x443u, shown[0].flags);
  EXPECT_EQ("DejaVu Sans", shown[0].shown.face);
  EXPECT_EQ(90, shown[0].shown.pointSize);
  EXPECT_TRUE(shown[0].shown.weight >= 700 && shown[0].shown.italic);
  EXPECT_EQ(9, font->getSize());
  EXPECT_EQ(Font::Bold | Font::Italic, font->getStyle());
}

TEST_F(FontDialogTest, ChosenFontReplacesFaceSizeAndStyle) {
  // Opened without effects, the dialog leaves the underline as the font had it.
  const int cases[][4] = {// style before, weight, italic, style after
                          {Font::Underline, 700, 0, Font::Underline | Font::Bold},
                          {Font::Bold, 900, 1, Font::Bold | Font::Italic},
                          {Font::Bold | Font::Italic, 400, 0, 0}};
  for (auto& c : cases) {
    font->setStyle(c[0]);
    vorntest::FontChoice choice;
    choice.face = "Mono";
    choice.pointSize = 125;  // tenths: the font keeps whole points
    choice.weight = c[1];
    choice.italic = c[2] != 0;
    choice.underline = true;
    vorntest::answerNextFontDialog(choice);
    ASSERT_TRUE(font->chooseFont());
    EXPECT_STREQ("Mono", font->getFace());
    EXPECT_EQ(12, font->getSize());
    EXPECT_EQ(c[3], font->getStyle()) << "weight " << c[1];
  }
}

TEST(ColourDialogTest, ChoiceIsWrittenBackCancelKeepsItCustomColoursStay) {
  vorntest::clearDialogs();
  ColourTriple colour = {10, 20, 30};
  vorntest::ColourChoice choice;
  choice.colour = RGB(200, 100, 50);
  choice.customIndex = 3;
  choice.customColour = RGB(1, 2, 3);
  vorntest::answerNextColourDialog(choice);
  ASSERT_TRUE(chooseColor(&colour));
  vorntest::cancelNextColourDialog();
  EXPECT_FALSE(chooseColor(&colour));
  EXPECT_EQ(RGB(200, 100, 50), RGB(colour.red, colour.green, colour.blue));

  auto shown = vorntest::shownColourDialogs();
  ASSERT_EQ(2u, shown.size());
  EXPECT_EQ(RGB(10, 20, 30), shown[0].initial);
  EXPECT_EQ(0x101u, shown[0].flags);
  EXPECT_EQ(RGB(200, 100, 50), shown[1].initial);
  ASSERT_EQ(16u, shown[1].customColours.size());
  EXPECT_EQ(RGB(1, 2, 3), shown[1].customColours[3]);
  vorntest::clearDialogs();
}

}  // namespace
