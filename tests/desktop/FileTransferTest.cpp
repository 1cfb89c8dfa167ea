// The file-transfer add-in on a desktop: added to the client from the System command line, an
// offer from another user brings up the save dialog titled with who offers what, in the
// desktop's download folder, and the name a person types there receives the file.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/desktop/DesktopTest.h"

namespace {

const std::string kPassword = "open sesame%s";

// The offering user's side of the link: listens on a port the kernel picks and serves data
// once to whoever gives the password, from the offset the receiver asks for.
class OfferingPeer {
 public:
  explicit OfferingPeer(std::string data) : data(std::move(data)) {
    listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in own{};
    own.sin_family = AF_INET;
    own.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof own;
    if (bind(listener, reinterpret_cast<sockaddr*>(&own), sizeof own) == 0 &&
        getsockname(listener, reinterpret_cast<sockaddr*>(&own), &length) == 0 &&
        ::listen(listener, 1) == 0)
      port = ntohs(own.sin_port);
    serving = std::thread([this] { serve(); });
  }
  ~OfferingPeer() {
    shutdown(listener, SHUT_RDWR);
    serving.join();
    close(listener);
  }

  int port = 0;
  bool passwordRight = false;

 private:
  bool readExactly(int fd, char* into, size_t size) {
    for (size_t got = 0; got < size;) {
      ssize_t n = recv(fd, into + got, size - got, 0);
      if (n <= 0) return false;
      got += static_cast<size_t>(n);
    }
    return true;
  }
  void serve() {
    pollfd entry{listener, POLLIN, 0};
    if (poll(&entry, 1, 30000) != 1) return;
    int link = accept(listener, nullptr, nullptr);
    if (link < 0) return;
    std::string given(kPassword.size(), '\0');
    uint32_t offset = 0;
    passwordRight = readExactly(link, &given[0], given.size()) && given == kPassword;
    if (passwordRight && readExactly(link, reinterpret_cast<char*>(&offset), 4))
      send(link, data.data() + ntohl(offset), data.size() - ntohl(offset), MSG_NOSIGNAL);
    close(link);
  }

  std::string data;
  int listener = -1;
  std::thread serving;
};

std::string contentOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The value of name=... among the program's environment entries.
std::string entryOf(const std::vector<std::string>& environment, const std::string& name) {
  for (const std::string& entry : environment)
    if (entry.rfind(name + "=", 0) == 0) return entry.substr(name.size() + 1);
  return "";
}

using FileTransferTest = DesktopTest;

TEST_F(FileTransferTest, AnOfferOpensTheSaveDialogAndTheTypedPathGetsTheFile) {
  std::string home = entryOf(session.environment(), "HOME");
  std::string config = entryOf(session.environment(), "XDG_CONFIG_HOME");
  ASSERT_FALSE(home.empty() || config.empty());
  std::filesystem::create_directories(config);
  std::filesystem::create_directories(home + "/Downloads");
  std::ofstream(config + "/user-dirs.dirs") << "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n";
  clickSystemCommandLine();
  ASSERT_TRUE(session.typeLine("/add demo vfile"));

  std::string data;
  for (int i = 0; i < 30000; ++i) data += static_cast<char>('a' + i % 26);
  OfferingPeer peer(data);
  ASSERT_NE(0, peer.port);
  std::string offer = "[data] carol [Varazir][Send][report.txt][30000][0][127.0.0.1][" +
                      std::to_string(peer.port) + "][" + kPassword + "]";
  // The add-in may still be loading: offer until the dialog comes.
  DesktopDisplay::WindowId dialog = 0;
  for (int i = 0; i < 5 && dialog == 0; ++i) {
    ASSERT_TRUE(fromServer(offer));
    dialog = session.waitForWindow(
        "Select File ... - carol wants to transfert file report.txt (29.30 KB)", 3000);
  }
  ASSERT_NE(0u, dialog) << "no save dialog came up";
  session.waitUntilStill(session.display().geometry(dialog), 3000);

  // A bare name: the dialog shows the download folder, not the program's.
  std::string target = home + "/Downloads/saved report.txt";
  ASSERT_TRUE(session.input().keys({"ctrl+a"}));
  ASSERT_TRUE(session.typeLine("saved report.txt"));
  EXPECT_TRUE(receives("senddata carol [Varazir][Accept][0]"));
  EXPECT_TRUE(DesktopSession::waitFor([&] { return contentOf(target) == data; }, 10000))
      << "got " << contentOf(target).size() << " bytes";
  EXPECT_TRUE(peer.passwordRight);
}

}  // namespace
