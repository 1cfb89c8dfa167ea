// Where the save dialog for an offered file starts: the last folder the user saved into, else
// the desktop's download folder, else the home folder (never the program's own folder).
#pragma once

#include <string>

class SaveFolder {
 public:
  // The folder to start the next save dialog in.
  std::string current() const;
  // Remembers the folder of a path the user chose.
  void chosen(const std::string& path);

  // XDG_DOWNLOAD_DIR of the user's user-dirs.dirs when it names an existing folder, else home.
  static std::string downloadFolder();
  static std::string homeFolder();

 private:
  std::string last;
};
