// A fresh folder under the system's temporary folder for one test, removed with everything in
// it when the test ends. Shared by every test that reads or writes real files.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vornithXXXXXX").string();
    if (mkdtemp(&pattern[0])) path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Empty when the folder could not be made.
  const std::string& path() const { return path_; }
  // The path of name inside the folder.
  std::string file(const std::string& name) const { return path_ + "/" + name; }

  // Writes text as the whole content of name (bytes as given, no line-end translation).
  bool write(const std::string& name, const std::string& text) const {
    FILE* f = std::fopen(file(name).c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
  }
  // The whole content of name; empty when it cannot be read.
  std::string read(const std::string& name) const {
    std::string text;
    FILE* f = std::fopen(file(name).c_str(), "rb");
    if (!f) return text;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    std::fclose(f);
    return text;
  }

 private:
  std::string path_;
};
