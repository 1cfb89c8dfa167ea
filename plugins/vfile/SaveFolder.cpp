#include "plugins/vfile/SaveFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace {

bool isFolder(const std::string& path) {
  struct stat info;
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string environment(const char* name) {
  const char* value = getenv(name);
  return value != nullptr ? value : "";
}

// The value of XDG_DOWNLOAD_DIR="..." in one line of user-dirs.dirs: "$HOME/..." or absolute.
std::string downloadEntry(const std::string& line, const std::string& home) {
  const std::string key = "XDG_DOWNLOAD_DIR=\"";
  size_t start = line.find_first_not_of(" \t");
  if (start == std::string::npos || line.compare(start, key.size(), key) != 0) return "";
  size_t end = line.rfind('"');
  if (end < start + key.size()) return "";
  std::string value = line.substr(start + key.size(), end - start - key.size());
  if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/'))
    return home + value.substr(5);
  return value.size() > 0 && value[0] == '/' ? value : "";
}

}  // namespace

std::string SaveFolder::homeFolder() {
  std::string home = environment("HOME");
  if (home.empty()) {
    const passwd* user = getpwuid(getuid());
    if (user != nullptr && user->pw_dir != nullptr) home = user->pw_dir;
  }
  return home.empty() ? "/" : home;
}

std::string SaveFolder::downloadFolder() {
  std::string home = homeFolder();
  std::string config = environment("XDG_CONFIG_HOME");
  if (config.empty() || config[0] != '/') config = home + "/.config";
  std::ifstream dirs(config + "/user-dirs.dirs");
  std::string line, found;
  while (std::getline(dirs, line)) {
    std::string value = downloadEntry(line, home);
    if (!value.empty()) found = value;
  }
  return isFolder(found) ? found : home;
}

std::string SaveFolder::current() const { return isFolder(last) ? last : downloadFolder(); }

void SaveFolder::chosen(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  if (slash != std::string::npos) last = path.substr(0, slash == 0 ? 1 : slash);
}
