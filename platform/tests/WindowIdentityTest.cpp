#include <gtest/gtest.h>

#include <string>

#include "platform/WindowIdentity.h"

using vornplatform::WindowIdentity;
using vornplatform::formatWindowIdentity;
using vornplatform::kMaxWindowIdentity;
using vornplatform::parseWindowIdentity;

namespace {

bool parse(const std::string& text, WindowIdentity* id) {
  return parseWindowIdentity(text.data(), text.size(), id);
}

}  // namespace

// The class ends at the first newline: a title may hold newlines of its own, or be empty.
TEST(WindowIdentity, SplitsClassFromTitle) {
  WindowIdentity id;
  ASSERT_TRUE(parse(formatWindowIdentity("BlackHoleWindow", "Vornith 2\nsecond line"), &id));
  EXPECT_EQ(id.className, "BlackHoleWindow");
  EXPECT_EQ(id.title, "Vornith 2\nsecond line");
  ASSERT_TRUE(parse("Cls\n", &id));
  EXPECT_EQ(id.className, "Cls");
  EXPECT_EQ(id.title, "");
}

// Another process writes what it likes on its windows: anything odd is refused, not guessed at.
TEST(WindowIdentity, RefusesMalformedAndOversizedText) {
  WindowIdentity id;
  EXPECT_FALSE(parse("", &id));
  EXPECT_FALSE(parse("no separator", &id));
  EXPECT_FALSE(parse("\ntitle without class", &id));
  EXPECT_FALSE(parse(std::string("Cls\nti\0tle", 10), &id));
  EXPECT_FALSE(parseWindowIdentity(nullptr, 4, &id));
  std::string atCap = "Cls\n" + std::string(kMaxWindowIdentity - 4, 'x');
  EXPECT_TRUE(parse(atCap, &id));
  EXPECT_EQ(id.title.size(), kMaxWindowIdentity - 4);
  EXPECT_FALSE(parse(atCap + "x", &id));
}
