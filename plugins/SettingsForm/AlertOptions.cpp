#include "plugins/SettingsForm/AlertOptions.h"

#include <cstdio>
#include <cstring>

namespace {

const char* const kWordCountKey = "VawareWordCount";
const int kWordSize = 256;
const int kMaxWords = 10000;

std::string keyOf(const char* name) { return std::string("Vaware") + name; }

}  // namespace

AlertOptions::AlertOptions()
    : rows_{{"SoundOnly", BoolRow, 0, ""},    {"DisabledWhenFullscreen", BoolRow, 0, ""},
            {"NoSound", BoolRow, 0, ""},      {"WordOnly", BoolRow, 0, ""},
            {"Position", IntRow, 2, ""},      {"OnTellFilename", TextRow, 0, "beep.wav"},
            {"OnWordFilename", TextRow, 0, "beep.wav"}} {}

const AlertOptions::Row* AlertOptions::find(const char* name) const {
  if (name == nullptr) return nullptr;
  for (const Row& r : rows_)
    if (std::strcmp(r.name, name) == 0) return &r;
  return nullptr;
}

bool AlertOptions::getBool(const char* name) const {
  const Row* r = find(name);
  return r != nullptr && r->type == BoolRow && r->number != 0;
}

int AlertOptions::getInt(const char* name) const {
  const Row* r = find(name);
  return r != nullptr && r->type == IntRow ? r->number : 0;
}

const char* AlertOptions::getString(const char* name) const {
  const Row* r = find(name);
  return r != nullptr && r->type == TextRow ? r->text : nullptr;
}

void AlertOptions::setText(int index, const char* text) {
  snprintf(rows_[index].text, kTextSize, "%s", text ? text : "");
}

void AlertOptions::read(SettingsStore& store) {
  words_.clear();
  for (Row& r : rows_) {
    std::string key = keyOf(r.name);
    if (r.type == BoolRow) r.number = store.getBool(key.c_str(), r.number != 0) ? 1 : 0;
    if (r.type == IntRow) r.number = store.getInt(key.c_str(), r.number);
    if (r.type == TextRow) {
      char current[kTextSize];
      std::memcpy(current, r.text, kTextSize);
      store.getString(key.c_str(), r.text, kTextSize, current);
    }
  }
  int count = store.getInt(kWordCountKey, 0);
  if (count > kMaxWords) count = kMaxWords;  // a damaged count must not read for ever
  for (int i = 0; i < count; ++i) {
    char key[32], word[kWordSize];
    snprintf(key, sizeof key, "VawareWord%d", i);
    store.getString(key, word, sizeof word, "wordError");
    words_.push_back(word);
  }
}

void AlertOptions::write(SettingsStore& store) const {
  for (const Row& r : rows_) {
    std::string key = keyOf(r.name);
    if (r.type == BoolRow) store.writeBool(key.c_str(), r.number != 0);
    if (r.type == IntRow) store.writeInt(key.c_str(), r.number);
    if (r.type == TextRow) store.writeString(key.c_str(), r.text);
  }
  store.writeInt(kWordCountKey, static_cast<int>(words_.size()));
  for (size_t i = 0; i < words_.size(); ++i) {
    char key[32];
    snprintf(key, sizeof key, "VawareWord%zu", i);
    store.writeString(key, words_[i].c_str());
  }
}
