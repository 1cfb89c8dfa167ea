// Finding emoticons in chat text: which signs stand for which picture, and where in a text the
// next one starts. Pure text work, so the chat windows and their tests share it.
#pragma once

// The picture ids (bitmap resources of the module) of the eleven emoticons.
enum EmoticonId {
  SmileEmoticon = 101,
  CoolEmoticon = 105,
  GrinEmoticon = 106,
  ConfusedEmoticon = 107,
  SurprisedEmoticon = 108,
  GrimEmoticon = 109,
  TongueEmoticon = 110,
  SadEmoticon = 111,
  ShockedEmoticon = 112,
  WinkEmoticon = 113,
  CryEmoticon = 114,
};

constexpr int kEmoticonCount = 11;
extern const int kEmoticonIds[kEmoticonCount];

struct EmoticonMatch {
  int offset;   // where the signs start; -1 when there is none
  int length;   // how many characters they take
  int picture;  // the EmoticonId
};

// The emoticon whose signs start exactly at pos, if any (length 0 otherwise). Signs count only
// at the start of the text or after a character that is neither a letter nor a digit.
// doubles enables ":))" and ":)=".
EmoticonMatch emoticonAt(const char* text, int pos, bool doubles);

// The first emoticon at or after from.
EmoticonMatch nextEmoticon(const char* text, int from, bool doubles);
