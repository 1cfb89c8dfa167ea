// Carries what transfer threads produce to the GUI thread, in order: lines to send or print,
// notices, and the session's file dialogs, opened from the message loop rather than inside an
// event.
#pragma once

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
    virtual void noticeText(const std::string& text) = 0;
    virtual void fileToSend(const std::string& nick, const std::string& path) = 0;
    // The answer to askSaveTarget: the path chosen, "" when cancelled.
    virtual void targetChosen(int key, const std::string& path) = 0;

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
  void noticeLine(const std::string& line) override;
  // GUI thread: the open dialog comes up from the loop, its path goes to fileToSend.
  void askFileToSend(const std::string& nick);
  // GUI thread: the save dialog comes up from the loop, its answer goes to targetChosen(key).
  void askSaveTarget(int key, const std::string& title, const std::string& initialName,
                     const std::string& folder);

  // Drops what is queued and takes nothing more; a dialog still open answers no one.
  void shutDown();

 private:
  struct Item {
    enum Kind { Send, Print, Notice, Save, Open } kind;
    std::string text;  // the line, the nick to send to, or the save dialog's initial name
    std::string title, folder;
    int key = 0;
  };

  // Kept alive by a dialog still open, so that the owner may go while it shows.
  struct Shared {
    std::mutex lock;
    std::deque<Item> items;
    bool closed = false;
  };

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void queue(Item item);
  void deliver();
  void answerDialog(const Item& item);

  Receiver& receiver;
  HWND window = nullptr;
  std::shared_ptr<Shared> shared = std::make_shared<Shared>();
};
