// The notification-area icon, the window manager's minimise, registered messages, wave sounds,
// dialog templates and the first rich edit's short character-format record.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/testing.h"
#include "platform/tests/TempFolder.h"
#include "platform/tests/WindowTestKit.h"
#include "platform/win32.h"

using windowtest::messagesOf;
using windowtest::seen;

namespace {

NOTIFYICONDATAA iconRecord(HWND window) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = 0x8000;
  data.hIcon = ExtractIconA(nullptr, "platform_tests.exe", 0);
  std::strcpy(data.szTip, "tip");
  return data;
}

TEST(TrayIconTest, ShownOnlyWithANotificationAreaAndClicksComeBackAsMouseMessages) {
  HWND window = windowtest::makeTop();
  NOTIFYICONDATAA data = iconRecord(window);
  EXPECT_NE(data.hIcon, nullptr);  // the program's own icon, named with ".exe"
  vorntest::setTrayAreaAvailable(false);
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &data));
  vorntest::setTrayAreaAvailable(true);
  EXPECT_TRUE(Shell_NotifyIconA(NIM_ADD, &data));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &data));  // one icon per window and id
  EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &data));
  seen().clear();
  ASSERT_TRUE(vorntest::clickTrayIcon(window, 0, true));
  std::vector<windowtest::Seen> clicks = messagesOf(window, 0x8000);
  ASSERT_EQ(clicks.size(), 4u);
  EXPECT_EQ(clicks[0].lParam, WM_LBUTTONDOWN);
  EXPECT_EQ(clicks[2].lParam, WM_LBUTTONDBLCLK);
  EXPECT_EQ(clicks[3].lParam, WM_LBUTTONUP);
  EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
  EXPECT_FALSE(vorntest::trayIconShown(window, 0));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &data));
  std::vector<vorntest::TrayCall> calls = vorntest::recordedTrayCalls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls.back().tip, "tip");
  vorntest::clearTrayArea();
  vorntest::clearTrayCalls();
  DestroyWindow(window);
}

TEST(TrayIconTest, WindowManagerMinimiseSendsTheSystemCommandThenTheSize) {
  HWND window = windowtest::makeTop();
  ShowWindow(window, SW_SHOW);
  seen().clear();
  ASSERT_TRUE(vorntest::minimizeByWindowManager(window));
  std::vector<windowtest::Seen> command = messagesOf(window, WM_SYSCOMMAND);
  ASSERT_EQ(command.size(), 1u);
  EXPECT_EQ(command[0].wParam & 0xFFF0, static_cast<WPARAM>(SC_MINIMIZE));
  std::vector<windowtest::Seen> sizes = messagesOf(window, WM_SIZE);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(sizes[0].wParam, static_cast<WPARAM>(SIZE_MINIMIZED));
  EXPECT_TRUE(IsIconic(window));
  DestroyWindow(window);
}

TEST(ShellCallsTest, RegisteredMessagesIgnoreCaseAndTheDesktopCoversTheScreen) {
  UINT message = RegisterWindowMessageA("TaskbarCreated");
  EXPECT_GE(message, 0xC000u);
  EXPECT_EQ(RegisterWindowMessageA("taskbarcreated"), message);
  EXPECT_NE(RegisterWindowMessageA("Other"), message);
  EXPECT_EQ(RegisterWindowMessageA(""), 0u);
  EXPECT_EQ(ExtractIconA(nullptr, "C:\\elsewhere\\other.exe", 0), nullptr);
  RECT desktop{};
  ASSERT_TRUE(GetClientRect(GetDesktopWindow(), &desktop));
  EXPECT_GT(desktop.right, 0);
  EXPECT_FALSE(IsWindowVisible(GetDesktopWindow()));
}

std::string waveBytes(int frames) {
  std::string data(static_cast<size_t>(frames) * 2, '\0');
  auto le = [](uint32_t v, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
  };
  std::string fmt = "fmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(8000, 4) + le(16000, 4) +
                    le(2, 2) + le(16, 2);
  std::string body = "WAVE" + fmt + "data" + le(static_cast<uint32_t>(data.size()), 4) + data;
  return "RIFF" + le(static_cast<uint32_t>(body.size()), 4) + body;
}

TEST(SoundTest, PlaysReadableWavesAndRefusesDamagedOnesWithEveryCallRecorded) {
  TempFolder folder;
  ASSERT_TRUE(folder.write("beep.wav", waveBytes(800)));
  std::string truncated = waveBytes(800);
  truncated.resize(60);  // the data chunk claims more than the file holds
  ASSERT_TRUE(folder.write("short.wav", truncated));
  ASSERT_TRUE(folder.write("text.wav", "not a wave at all"));
  vorntest::useSilentSoundDevice();
  vorntest::clearRecordedSounds();
  DWORD flags = SND_FILENAME | SND_NOSTOP | SND_NODEFAULT | SND_ASYNC;
  EXPECT_TRUE(PlaySoundA(folder.file("beep.wav").c_str(), nullptr, flags));
  EXPECT_FALSE(PlaySoundA(folder.file("short.wav").c_str(), nullptr, flags));
  EXPECT_FALSE(PlaySoundA(folder.file("text.wav").c_str(), nullptr, flags));
  EXPECT_FALSE(PlaySoundA(folder.file("missing.wav").c_str(), nullptr, flags));
  EXPECT_TRUE(PlaySoundA(nullptr, nullptr, 0));  // stops whatever plays
  std::vector<vorntest::PlayedSound> played = vorntest::recordedSounds();
  ASSERT_EQ(played.size(), 5u);
  EXPECT_EQ(played[0].flags, 0x20013u);
  EXPECT_TRUE(played[0].result);
  vorntest::clearSoundDevice();
  // The real device (none on a test machine, or a real one) answers without hanging.
  PlaySoundA(folder.file("beep.wav").c_str(), nullptr, flags);
  PlaySoundA(nullptr, nullptr, 0);
}

INT_PTR CALLBACK recordingDialog(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
  if (msg == WM_INITDIALOG) SetWindowLongA(dialog, GWL_USERDATA, lParam);
  return msg == WM_INITDIALOG;
}

TEST(DialogTemplateTest, TemplatesMakeDialogsInDialogUnitsWithTheirItems) {
  static const VornDialogItem items[] = {
      {"RICHEDIT", "", 1000, WS_VISIBLE | ES_MULTILINE | ES_READONLY, 0, 0, 0, 186, 94}};
  VornDialogTemplate popup{WS_POPUP | DS_MODALFRAME | DS_SETFONT, 0, 0, 0, 186, 94, "",
                           "MS Sans Serif", 8, items, 1};
  HMODULE program = GetModuleHandleA(nullptr);
  ASSERT_TRUE(VornRegisterDialogTemplate(program, 102, &popup));
  EXPECT_EQ(CreateDialogParamA(program, MAKEINTRESOURCEA(103), nullptr, recordingDialog, 0),
            nullptr);
  HWND dialog = CreateDialogParamA(program, MAKEINTRESOURCEA(102), nullptr, recordingDialog, 77);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(GetWindowLongA(dialog, GWL_USERDATA), 77);
  EXPECT_FALSE(IsWindowVisible(dialog));
  RECT outer{};
  GetWindowRect(dialog, &outer);
  EXPECT_GT(outer.right - outer.left, 186);  // a dialog unit is more than a pixel wide
  HWND edit = GetDlgItem(dialog, 1000);
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(SetDlgItemTextA(dialog, 1000, "first line"));
  char text[32];
  EXPECT_EQ(GetDlgItemTextA(dialog, 1000, text, sizeof text), 10u);

  // The short record: exactly its 60 bytes are written, the face and size are applied.
  struct {
    CHARFORMATA format;
    char guard[24];
  } padded;
  std::memset(&padded, 0x5A, sizeof padded);
  padded.format.cbSize = sizeof(CHARFORMATA);
  SendMessageA(edit, EM_GETCHARFORMAT, 0, reinterpret_cast<LPARAM>(&padded.format));
  EXPECT_EQ(padded.guard[0], 0x5A);
  EXPECT_EQ(padded.format.cbSize, sizeof(CHARFORMATA));
  padded.format.dwMask = CFM_SIZE | CFM_FACE;
  padded.format.yHeight = 14 * 20;
  std::strcpy(padded.format.szFaceName, "Arial");
  SendMessageA(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&padded.format));
  CHARFORMATA back{};
  back.cbSize = sizeof back;
  SendMessageA(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&back));
  EXPECT_EQ(back.yHeight, 14 * 20);
  DestroyWindow(dialog);
}

}  // namespace
