// Byte offsets of a rich edit's 8-bit text versus positions in its Qt document, with a cache
// of per-paragraph byte counts so that work near the end of a long document stays cheap.
#pragma once

#include <QObject>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <string>
#include <vector>

namespace vornplatform {

// Offsets count the bytes of the text as the caller gave them: a character that came from a
// valid UTF-8 sequence counts its sequence length, a byte that was not valid UTF-8 (shown as
// its Windows-1252 character, remembered in the character format) counts 1, a paragraph mark
// counts 1 and a picture counts 1.
class RichEditPositions : public QObject {
 public:
  explicit RichEditPositions(QTextDocument* document);

  long long totalBytes();
  // The byte offset of a document position.
  long long byteOf(int position);
  // The document position of a byte offset (clamped; inside a character: its start).
  int positionOf(long long byte);
  // The bytes between two document positions; paragraph marks as "\r", a picture as ' '.
  std::string bytesBetween(int from, int to);
  // The byte count of one paragraph, without its mark.
  static long long blockBytes(const QTextBlock& block);
  // The bytes of one paragraph (from a position inside it to another).
  static std::string blockText(const QTextBlock& block, int from, int to);
  // Forgets what it knows after a change at the position (also done on Qt's notice).
  void changedAt(int position);

 private:
  long long blockStart(int blockNumber);

  QTextDocument* document_;
  std::vector<long long> starts_;  // start byte of blocks 0 .. starts_.size()-1, all valid
  long long total_ = -1;           // totalBytes, or -1 when not known
};

// Marks a character that stands for a byte that was not valid UTF-8 (the byte's value).
constexpr int kRawByteProperty = QTextFormat::UserProperty + 7;

// Inserts 8-bit text at the cursor with the format: "\r\n", "\r" and "\n" each become a
// paragraph mark; stray bytes keep their value in the format.
void insertBytes(QTextCursor& cursor, const char* text, size_t length,
                 const QTextCharFormat& format);

// Calls visit(fragment, begin, end) for each fragment of the paragraph that overlaps the
// document positions [from, to), with begin and end clipped to them.
template <class Visit>
void forEachPiece(const QTextBlock& block, int from, int to, Visit&& visit) {
  for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
    QTextFragment fragment = it.fragment();
    int begin = std::max(from, fragment.position());
    int end = std::min(to, fragment.position() + fragment.length());
    if (begin < end) visit(fragment, begin, end);
  }
}

// The same over every paragraph the range touches.
template <class Visit>
void forEachPiece(QTextDocument* document, int from, int to, Visit&& visit) {
  for (QTextBlock block = document->findBlock(from); block.isValid() && block.position() < to;
       block = block.next()) {
    forEachPiece(block, from, to, visit);
  }
}

}  // namespace vornplatform
