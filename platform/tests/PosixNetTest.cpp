// Look-up failures of the system resolver become Winsock's look-up error numbers.
// Kept apart from the Winsock header: this file needs the resolver's own codes.
#include <gtest/gtest.h>

#include <cerrno>
#include <netdb.h>

#include "platform/PosixNet.h"

namespace {

TEST(PosixNetTest, LookUpFailuresMapToWinsockNumbers) {
  const int table[][2] = {
      {0, 0},
      {EAI_NONAME, 11001},
      {EAI_AGAIN, 11002},
      {EAI_FAIL, 11003},
      {EAI_NODATA, 11004},
      {EAI_ADDRFAMILY, 11004},
      {EAI_MEMORY, 10055},
      {EAI_SERVICE, 11003},
  };
  for (const auto& row : table) {
    EXPECT_EQ(row[1], vornplatform::wsaErrorFromLookup(row[0], 0)) << "code " << row[0];
  }
  EXPECT_EQ(10024, vornplatform::wsaErrorFromLookup(EAI_SYSTEM, EMFILE));
}

}  // namespace
