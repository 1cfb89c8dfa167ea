// Byte offsets versus document positions for rich edits, and 8-bit text in and out.
#include "platform/ControlRichEditPositions.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

#include "platform/TextCodec.h"

namespace vornplatform {
namespace {

// The stray byte a fragment's characters may stand for, read once per fragment: the format
// lookup costs far more than the per-character comparison. Typing next to a stray byte can copy
// its format onto other characters, so the character itself must match too.
struct FragmentBytes {
  explicit FragmentBytes(const QTextCharFormat& format)
      : image(format.isImageFormat()),
        raw(format.hasProperty(kRawByteProperty) ? format.intProperty(kRawByteProperty) : -1),
        rawChar(raw >= 0 ? windows1252Char(static_cast<unsigned char>(raw)) : 0) {}
  // The raw byte the character stands for, or -1 when it is ordinary text.
  int rawByteOf(QChar c) const { return raw >= 0 && c.unicode() == rawChar ? raw : -1; }
  // The bytes a character counts for (0: the second half of a surrogate pair).
  long long bytesOf(QChar c) const;

  bool image;
  int raw;
  ushort rawChar;
};

long long utf8Length(QChar c) {
  ushort u = c.unicode();
  if (u < 0x80) return 1;
  if (u < 0x800) return 2;
  if (c.isHighSurrogate()) return 4;
  if (c.isLowSurrogate()) return 0;
  return 3;
}

long long FragmentBytes::bytesOf(QChar c) const {
  return image || rawByteOf(c) >= 0 ? 1 : utf8Length(c);
}

// Inserts one paragraph's bytes: valid stretches as text, stray bytes one by one, marked.
void insertLine(QTextCursor& cursor, const unsigned char* text, size_t length,
                const QTextCharFormat& format) {
  size_t start = 0;
  for (size_t i = 0; i < length;) {
    size_t n = text[i] < 0x80 ? 1 : utf8SequenceAt(text, length, i);
    if (n > 0) {
      i += n;
      continue;
    }
    if (i > start) {
      cursor.insertText(bytesToQString(reinterpret_cast<const char*>(text + start), i - start),
                        format);
    }
    QTextCharFormat raw = format;
    raw.setProperty(kRawByteProperty, static_cast<int>(text[i]));
    cursor.insertText(QString(QChar(windows1252Char(text[i]))), raw);
    start = ++i;
  }
  if (length > start) {
    cursor.insertText(bytesToQString(reinterpret_cast<const char*>(text + start), length - start),
                      format);
  }
}

}  // namespace

void insertBytes(QTextCursor& cursor, const char* bytes, size_t length,
                 const QTextCharFormat& format) {
  auto* text = reinterpret_cast<const unsigned char*>(bytes);
  QTextCharFormat plain = format;
  plain.clearProperty(kRawByteProperty);
  size_t start = 0;
  for (size_t i = 0; i <= length; ++i) {
    if (i < length && text[i] != '\r' && text[i] != '\n') continue;
    insertLine(cursor, text + start, i - start, plain);
    if (i == length) break;
    if (text[i] == '\r' && i + 1 < length && text[i + 1] == '\n') ++i;
    cursor.insertBlock(cursor.blockFormat(), plain);
    start = i + 1;
  }
}

RichEditPositions::RichEditPositions(QTextDocument* document)
    : QObject(document), document_(document) {
  connect(document, &QTextDocument::contentsChange, this,
          [this](int position, int, int) { changedAt(position); });
}

void RichEditPositions::changedAt(int position) {
  total_ = -1;
  int block = document_->findBlock(position).blockNumber();
  if (block < 0) block = 0;
  if (static_cast<size_t>(block) < starts_.size()) starts_.resize(static_cast<size_t>(block));
}

long long RichEditPositions::blockBytes(const QTextBlock& block) {
  long long bytes = 0;
  for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
    QTextFragment fragment = it.fragment();
    FragmentBytes counts(fragment.charFormat());
    for (QChar c : fragment.text()) bytes += counts.bytesOf(c);
  }
  return bytes;
}

long long RichEditPositions::blockStart(int blockNumber) {
  if (starts_.empty()) starts_.push_back(0);
  if (blockNumber <= 0) return 0;
  if (static_cast<size_t>(blockNumber) < starts_.size())
    return starts_[static_cast<size_t>(blockNumber)];
  int known = static_cast<int>(starts_.size()) - 1;
  QTextBlock block = document_->findBlockByNumber(known);
  long long start = starts_.back();
  while (known < blockNumber && block.isValid()) {
    start += blockBytes(block) + 1;
    block = block.next();
    ++known;
    if (!block.isValid()) break;
    starts_.push_back(start);
  }
  return starts_.back();
}

long long RichEditPositions::totalBytes() {
  if (total_ >= 0) return total_;
  QTextBlock last = document_->lastBlock();
  total_ = blockStart(last.blockNumber()) + blockBytes(last);
  return total_;
}

long long RichEditPositions::byteOf(int position) {
  position = std::max(0, std::min(position, document_->characterCount() - 1));
  QTextBlock block = document_->findBlock(position);
  long long start = blockStart(block.blockNumber());
  int inBlock = position - block.position();
  if (inBlock == 0) return start;
  return start + static_cast<long long>(blockText(block, block.position(), position).size());
}

int RichEditPositions::positionOf(long long byte) {
  if (byte <= 0) return 0;
  long long total = totalBytes();  // also fills the cache
  if (byte >= total) return document_->characterCount() - 1;
  auto after = std::upper_bound(starts_.begin(), starts_.end(), byte);
  int number = std::max(0, static_cast<int>(after - starts_.begin()) - 1);
  QTextBlock block = document_->findBlockByNumber(number);
  long long left = byte - starts_[static_cast<size_t>(number)];
  int position = block.position();
  for (QTextBlock::iterator it = block.begin(); !it.atEnd() && left > 0; ++it) {
    QTextFragment fragment = it.fragment();
    FragmentBytes counts(fragment.charFormat());
    QString text = fragment.text();
    position = fragment.position();
    for (int i = 0; i < text.size(); ++i) {
      long long n = counts.bytesOf(text[i]);
      if (n == 0) {  // second half of a surrogate pair
        ++position;
        continue;
      }
      if (left < n) return position;  // inside a character: its start
      left -= n;
      ++position;
      if (left == 0) return position;
    }
  }
  return std::min(position, block.position() + block.length() - 1);
}

std::string RichEditPositions::blockText(const QTextBlock& block, int from, int to) {
  std::string out;
  forEachPiece(block, from, to, [&out](const QTextFragment& fragment, int begin, int end) {
    FragmentBytes counts(fragment.charFormat());
    QString text = fragment.text().mid(begin - fragment.position(), end - begin);
    if (counts.image) {
      out.append(static_cast<size_t>(text.size()), ' ');
      return;
    }
    if (counts.raw < 0) {
      out += qStringToBytes(text);
      return;
    }
    for (int i = 0; i < text.size(); ++i) {
      int raw = counts.rawByteOf(text[i]);
      if (raw >= 0) {
        out += static_cast<char>(raw);
      } else {
        out += qStringToBytes(text.mid(i, text[i].isHighSurrogate() ? 2 : 1));
        if (text[i].isHighSurrogate()) ++i;
      }
    }
  });
  return out;
}

std::string RichEditPositions::bytesBetween(int from, int to) {
  std::string out;
  QTextBlock block = document_->findBlock(from);
  while (block.isValid() && block.position() < to) {
    int end = block.position() + block.length() - 1;  // the paragraph mark
    out += blockText(block, from, std::min(to, end));
    if (to > end && block.next().isValid()) out += '\r';
    block = block.next();
  }
  return out;
}

}  // namespace vornplatform
