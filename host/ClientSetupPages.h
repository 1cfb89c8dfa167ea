// The controls of a client's own setup pages (network, colours, fonts and the three plug-in
// group pages), built into the pages the setup window hands out; the client owns them.
#pragma once

#include <memory>
#include <vector>

#include "host/ButtonListener.h"
#include "host/NotifyButton.h"
#include "host/TabNotifyEdit.h"
#include "lib/Button.h"
#include "lib/ExistWindow.h"
#include "lib/Frame.h"
#include "lib/Label.h"
#include "lib/Line.h"
#include "lib/ListView.h"
#include "lib/SimpleEdit.h"

// The port typed in the network page: digits only (blanks around them allowed), 1 to 65535.
bool parsePortText(const char* text, int* port);

class ClientSetupPages {
 public:
  enum Group { MainGroup, AddinsGroup, InOutGroup };

  explicit ClientSetupPages(ButtonListener* listener);
  ClientSetupPages(const ClientSetupPages&) = delete;
  ClientSetupPages& operator=(const ClientSetupPages&) = delete;

  // Each fills the page window the setup window handed out with its controls.
  void buildNetwork(HWND page);
  void buildColors(HWND page);
  void buildFonts(HWND page);
  void buildGroup(HWND page, Group group);

 private:
  // The page windows, wrapped so that each lays its controls out over its whole area. A page
  // object of the setup window hands its window on and lays nothing out itself. Declared
  // before the controls, so they are destroyed after the controls inside them.
  std::vector<std::unique_ptr<ExistWindow>> pageWindows;

 public:
  // Declared parents first, so children go before the windows that hold them.
  Frame networkFrame{"Netword setup..."};
  Line serverLine{"Server line", true};
  Line defaultLine{"Server default line", false};
  Label defaultTitle{"The default server is :", true};
  Label defaultValue{"", true};
  ListView serverList{"Server list", ListView::Ascending};
  Frame newServerFrame{"New server"};
  Line newServerLine{"New server line", true};
  Line addServerLine{"Add server line", false};
  Label serverTitle{"Server :", true};
  TabNotifyEdit serverEdit{"Server edit zone"};
  Line addPortLine{"Add port line", false};
  Label portTitle{"Port :", true};
  TabNotifyEdit portEdit{"Port edit zone"};
  Line buttonsLine{"Buttons line", false};
  NotifyButton addButton;
  NotifyButton defaultButton;
  NotifyButton removeButton;

  Frame colorFrame{"Color setup"};
  Line colorLine{"Color line", true};
  ListView colorList{"Color list", ListView::Unsorted};
  Line colorButtons{"Color button list", false};
  Label colorLeft{"", true};
  NotifyButton colorButton;
  Label colorRight{"", true};

  Frame fontFrame{"Font setup"};
  Line fontLine{"Font line", true};
  ListView fontList{"Font list", ListView::Unsorted};
  Line fontButtons{"Font button list", false};
  Label fontLeft{"", true};
  NotifyButton fontButton;
  Label fontRight{"", true};

  Frame mainFrame{"Main plugin's page"};
  Label mainHelp;
  Frame addinsFrame{"Add-ins plugin's page"};
  Label addinsHelp;
  Frame inOutFrame{"In/Out plugin's page"};
  Label inOutHelp;

 private:
  WindowContainer* wrap(HWND page);
  void buildSettingList(HWND page, Frame& frame, Line& line, ListView& list, Line& buttons,
                        Label& left, Button& button, Label& right);
};
