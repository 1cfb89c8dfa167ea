// The small rules: block sizes, passwords, offered names and the strict reading of a peer's
// numbers and addresses.
#include <gtest/gtest.h>

#include <set>

#include "plugins/vfile/TransferNames.h"

namespace {

TEST(TransferNames, BlocksAreATenthBetween10240BytesAnd1MiB) {
  EXPECT_EQ(10240, transfer::blockSizeFor(0));
  EXPECT_EQ(10241, transfer::blockSizeFor(102419));
  EXPECT_EQ(1048576, transfer::blockSizeFor(2147483647));
}

TEST(TransferNames, PasswordsAreRandomPrintableAndBracketFree) {
  std::set<std::string> seen;
  for (int i = 0; i < 2000; ++i) {
    std::string password = transfer::makePassword();
    ASSERT_GE(password.size(), 8u);
    ASSERT_LE(password.size(), 31u);
    for (char c : password) {
      ASSERT_TRUE((c >= 32 && c <= 121 && c != '[' && c != ']') || c == '{' || c == '}')
          << password;
    }
    seen.insert(password);
  }
  EXPECT_GT(seen.size(), 1990u);
}

TEST(TransferNames, OfferedNamesKeepTheirLastComponentOnly) {
  EXPECT_EQ("a.txt", transfer::baseName("C:\\data\\a.txt"));
  EXPECT_EQ("passwd", transfer::safeOfferedName("../../etc/passwd"));
  EXPECT_EQ("evil.bat", transfer::safeOfferedName("..\\..\\evil.bat"));
  for (const char* bad : {"", ".", "..", "dir/", "x/..", "a\tb", "a\x7f", "line\rbreak"})
    EXPECT_EQ("", transfer::safeOfferedName(bad)) << bad;
  EXPECT_EQ("", transfer::safeOfferedName(nullptr));
}

TEST(TransferNames, PeerNumbersAndAddressesAreReadStrictly) {
  int value = -1;
  EXPECT_TRUE(transfer::parseSize("2147483647", value));
  EXPECT_EQ(2147483647, value);
  for (const char* bad : {"0", "-5", "2147483648", "12ab", " 12", "", "99999999999999"})
    EXPECT_FALSE(transfer::parseSize(bad, value)) << bad;
  EXPECT_TRUE(transfer::parsePort("65535", value));
  EXPECT_FALSE(transfer::parsePort("0", value));
  EXPECT_FALSE(transfer::parsePort("65536", value));
  EXPECT_TRUE(transfer::parseId("0", value));
  EXPECT_FALSE(transfer::parseId(nullptr, value));
  EXPECT_TRUE(transfer::isDottedAddress("10.0.0.2"));
  for (const char* bad : {"localhost", "example.org", "1.2.3", "1.2.3.4.5", "256.1.1.1", ""})
    EXPECT_FALSE(transfer::isDottedAddress(bad)) << bad;

  const unsigned char privates[][4] = {{10, 1, 2, 3}, {127, 0, 0, 1}, {172, 16, 0, 5},
                                       {192, 168, 1, 2}};
  const unsigned char publics[][4] = {{8, 16, 0, 1}, {172, 20, 0, 1}, {192, 169, 0, 1}};
  for (const auto& address : privates) EXPECT_TRUE(transfer::isPrivateAddress(address));
  for (const auto& address : publics) EXPECT_FALSE(transfer::isPrivateAddress(address));
}

}  // namespace
