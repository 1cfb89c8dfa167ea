// Carries what transfer threads produce to the GUI thread, in order: lines to send or print,
// and requests for a file dialog, opened from the message loop rather than inside an event.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "platform/win32.h"
#include "plugins/vfile/TransferLines.h"

class GuiHandOff : public TransferLines {
 public:
  // Where the lines and chosen files end up, on the GUI thread.
  class Receiver {
   public:
    virtual void sendText(const std::string& text) = 0;
    virtual void printText(const std::string& text) = 0;
    virtual void fileToSend(const std::string& nick, const std::string& path) = 0;

   protected:
    ~Receiver() = default;
  };

  // Made on the GUI thread, whose loop then delivers.
  explicit GuiHandOff(Receiver& receiver);
  ~GuiHandOff();
  GuiHandOff(const GuiHandOff&) = delete;
  GuiHandOff& operator=(const GuiHandOff&) = delete;

  // From any thread.
  void sendLine(const std::string& line) override;
  void printLine(const std::string& line) override;
  std::string chooseTarget(const std::string& offeredName) override;
  // GUI thread: the open dialog comes up from the loop, its path goes to fileToSend.
  void askFileToSend(const std::string& nick);

  // Ends every wait for a dialog with no path, drops what is queued and takes nothing more.
  void shutDown();

 private:
  struct Answer {
    bool done = false;
    std::string path;
  };
  struct Item {
    enum Kind { Send, Print, Save, Open } kind;
    std::string text;
    std::shared_ptr<Answer> answer;
  };

  // Kept alive by a dialog still open, so that the owner may go while it shows.
  struct Shared {
    std::mutex lock;
    std::condition_variable answered;
    std::deque<Item> items;
    bool closed = false;
  };

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void queue(Item item);
  void deliver();

  Receiver& receiver;
  HWND window = nullptr;
  std::shared_ptr<Shared> shared = std::make_shared<Shared>();
};
