// The alert and tray plug-ins in the real host against the local chat server: alice and bob
// with vaware, vtray as the system plug-in. A tell and a watched word raise alice's pop-up and
// sounds, her own lines never do; the window goes into the tray and back; the settings of both
// are written where they belong.
#include "host/Host.h"
#include "host/PlugsManagers.h"
#include "host/SystemPluginsSession.h"
#include "host/SystemWindow.h"
#include "host/tests/e2e/HostRun.h"
#include "platform/win32.h"
#include "plugins/NevChat/NevChatInputWindow.h"
#include "tests/support/TwoClientsHost.h"
#include "plugins/vaware/VawareSession.h"

namespace {

VawareSession* alertOf(const char* name) { return firstAddinOf<VawareSession>(name); }

class VawareEndToEnd : public TwoClientsHost {
 protected:
  VawareEndToEnd()
      : TwoClientsHost({{{VAWARE_MODULE, "vaware.vad"},
                         {VTRAY_MODULE, "vtray.vsy"},
                         {VAWARESETUP_LIBRARY, "vawareSetup.dll"}},
                        "Addins=Vaware\n",
                        "[System]\nVawareWordCount=1\nVawareWord0=tea\n",
                        "VawareWordCount=1\nVawareWord0=cake\nVawareOnTellFilename=tell.wav\n",
                        "VawareWordCount=1\nVawareWord0=pie\nVawareNoSound=On\n"}) {}
  void SetUp() override {
    TwoClientsHost::SetUp();
    if (HasFatalFailure()) return;
    vorntest::useSilentSoundDevice();
    vorntest::clearRecordedSounds();
    vorntest::setTrayAreaAvailable(true);
  }
  // The user looks at another window: the activations still pending from the start (or from
  // a pop-up hidden) are settled first, then that window is in front and stays there.
  bool lookAt(HWND elsewhere) {
    vorntest::pumpFor(100);
    SetForegroundWindow(elsewhere);
    if (!wait([&] { return GetForegroundWindow() == elsewhere; })) return false;
    vorntest::pumpFor(50);
    return GetForegroundWindow() == elsewhere;
  }
  void TearDown() override {
    vorntest::clearTrayArea();
    vorntest::clearSoundDevice();
    TwoClientsHost::TearDown();
  }
  std::string sounds() {
    std::string played;
    for (const vorntest::PlayedSound& sound : vorntest::recordedSounds()) played += sound.sound + " ";
    return played;
  }
  std::string stored(const char* file, const char* section, const char* key) {
    char value[256] = {};
    GetPrivateProfileStringA(section, key, "", value, sizeof value, folder.file(file).c_str());
    return value;
  }
  static std::string popupText(VawareSession* session) {
    char text[256] = {};
    GetDlgItemTextA(session->popup().window(), AlertPopup::kEditId, text, sizeof text);
    return text;
  }
};

TEST_F(VawareEndToEnd, TellsAndWatchedWordsAlertOthersAndTheWindowVisitsTheTray) {
  startUp(GetModuleHandleA(nullptr));
  VawareSession* alice = alertOf("alice");
  NevChatSession* bobChat = chatOf("bob");
  ASSERT_TRUE(alice && alertOf("bob") && bobChat);
  ASSERT_TRUE(alice->popup().exists());
  ASSERT_TRUE(wait([&] { return server.isLoggedIn("alice") && server.isLoggedIn("bob"); }));
  // The user is somewhere else: with the host in front nothing would show.
  HWND elsewhere = CreateWindowExA(0, "Static", "elsewhere", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                   nullptr, nullptr, nullptr, nullptr);
  ShowWindow(elsewhere, SW_SHOW);
  ASSERT_TRUE(lookAt(elsewhere));

  enter(bobChat->getInput(), ".t alice are you there?");
  ASSERT_TRUE(wait([&] { return IsWindowVisible(alice->popup().window()) != FALSE; }));
  EXPECT_NE(popupText(alice).find("bob tells you: are you there?"), std::string::npos);
  EXPECT_EQ(sounds(), "tell.wav ");  // bob's own "You tell" line alerts nobody

  // Hiding the pop-up may hand the activation to the host's window: the user is still elsewhere.
  ShowWindow(alice->popup().window(), SW_HIDE);
  ASSERT_TRUE(lookAt(elsewhere));
  enter(bobChat->getInput(), "who brings the CAKE?");
  ASSERT_TRUE(wait([&] { return IsWindowVisible(alice->popup().window()) != FALSE; }));
  EXPECT_EQ(sounds(), "tell.wav beep.wav ");  // bob's own sentence is not his alert

  // vtray: minimised into the tray, and back with a double click on the icon.
  HWND window = systemWindow->getHwnd();
  ASSERT_TRUE(vorntest::minimizeByWindowManager(window));
  EXPECT_FALSE(IsWindowVisible(window));
  ASSERT_TRUE(vorntest::clickTrayIcon(window, 0, true));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(vorntest::trayIconShown(window, 0));

  DestroyWindow(elsewhere);
  closeAndShutDown();
  EXPECT_NE(folder.read("Plugs.ini").find("VawareWord0=cake"), std::string::npos);
  EXPECT_NE(folder.read("Vornith.ini").find("VawarePosition=2"), std::string::npos);
}

// Unloading vaware while its pop-up is up and its hide timer runs takes both along: nothing
// calls into the unloaded code afterwards.
TEST_F(VawareEndToEnd, UnloadingWithThePopUpShownLeavesNothingBehind) {
  startUp(GetModuleHandleA(nullptr));
  VawareSession* alice = alertOf("alice");
  ASSERT_TRUE(alice != nullptr && alice->popup().exists());
  HWND elsewhere = CreateWindowExA(0, "Static", "elsewhere", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                   nullptr, nullptr, nullptr, nullptr);
  ShowWindow(elsewhere, SW_SHOW);
  ASSERT_TRUE(lookAt(elsewhere));
  alice->showAlert("bob tells you: hi", 1000, nullptr);
  HWND popup = alice->popup().window();
  ASSERT_TRUE(IsWindowVisible(popup));

  ASSERT_TRUE(plugsManagers->unloadPlug(plugsManagers->findPlug("Vaware", 0)));
  EXPECT_FALSE(IsWindow(popup));
  vorntest::pumpFor(1500);  // past the hide timer

  DestroyWindow(elsewhere);
  closeAndShutDown();
}

// alice's and bob's pages and the tray's System Plugins page open at once: each closes with
// its own words and options, whichever closes first.
TEST_F(VawareEndToEnd, SetupPagesOpenTogetherEachKeepTheirOwnValues) {
  startUp(GetModuleHandleA(nullptr));
  Client* alice = clientOf("alice");
  Client* bob = clientOf("bob");
  ASSERT_TRUE(alice && bob && systemPluginsSession);
  alice->showSetup();
  bob->showSetup();
  systemPluginsSession->onSetupOpen();
  alice->onSetupClose();                 // opened first, closed first
  systemPluginsSession->onSetupClose();  // opened last
  bob->onSetupClose();

  closeAndShutDown();
  EXPECT_EQ(stored("Plugs.ini", "alice", "VawareWord0"), "cake");
  EXPECT_EQ(stored("Plugs.ini", "alice", "VawareOnTellFilename"), "tell.wav");
  EXPECT_EQ(stored("Plugs.ini", "alice", "VawareNoSound"), "Off");
  EXPECT_EQ(stored("Plugs.ini", "bob", "VawareWord0"), "pie");
  EXPECT_EQ(stored("Plugs.ini", "bob", "VawareNoSound"), "On");
  EXPECT_EQ(stored("Vornith.ini", "System", "VawareWord0"), "tea");
}

}  // namespace
