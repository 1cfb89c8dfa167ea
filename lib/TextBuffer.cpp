#include "lib/TextBuffer.h"

#include <cstdlib>
#include <cstring>

char* const TextBuffer::GrowFailed = reinterpret_cast<char*>(-1);

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

TextBuffer::TextBuffer(int capacity, int growStep)
    : storage(nullptr), step(growStep < 1 ? 1 : growStep), capacityValue(0), lengthValue(0) {
  if (capacity > 0) {
    storage = static_cast<char*>(std::malloc(static_cast<size_t>(capacity) + 1));
    if (storage) {
      capacityValue = capacity;
      storage[0] = 0;
    }
  }
}

TextBuffer::~TextBuffer() { std::free(storage); }

const char* TextBuffer::text() { return storage ? storage : ""; }

bool TextBuffer::ensure(int n) {
  if (capacityValue >= n) return true;
  char* old = grow(n);
  if (old == GrowFailed) return false;
  std::free(old);
  lengthValue = 0;
  return true;
}

bool TextBuffer::assign(const char* source) {
  if (!source) source = "";
  size_t size = std::strlen(source);
  if (size > static_cast<size_t>(0x7FFFFFFE)) return false;
  if (!ensure(static_cast<int>(size))) return false;
  if (!storage) return true;  // nothing to hold and nothing allocated: stays ""
  std::memcpy(storage, source, size + 1);
  lengthValue = static_cast<int>(size);
  return true;
}

void TextBuffer::recount() { lengthValue = storage ? static_cast<int>(std::strlen(storage)) : 0; }

void TextBuffer::clear() {
  lengthValue = 0;
  if (storage) storage[0] = 0;
}

void TextBuffer::trim(bool fromStart) {
  if (!storage) return;
  if (fromStart) {
    int skip = 0;
    while (skip < lengthValue && isBlank(storage[skip])) ++skip;
    std::memmove(storage, storage + skip, static_cast<size_t>(lengthValue - skip) + 1);
    lengthValue -= skip;
  } else {
    while (lengthValue > 0 && isBlank(storage[lengthValue - 1])) --lengthValue;
    storage[lengthValue] = 0;
  }
}

int TextBuffer::length() { return lengthValue; }

int TextBuffer::capacity() { return capacityValue; }

char* TextBuffer::grow(int n) {
  long long steps = (static_cast<long long>(n) - capacityValue) / step + 1;
  if (steps < 0) steps = 0;
  long long newCapacity = capacityValue + steps * step;
  if (newCapacity > 0x7FFFFFFE) return GrowFailed;
  char* fresh = static_cast<char*>(std::malloc(static_cast<size_t>(newCapacity) + 1));
  if (!fresh) return GrowFailed;
  // Not copied, but always a valid (empty) text until the caller fills it.
  fresh[0] = 0;
  char* old = storage;
  storage = fresh;
  capacityValue = static_cast<int>(newCapacity);
  lengthValue = 0;
  return old;
}
