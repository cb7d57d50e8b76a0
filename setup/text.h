// Bounded code page 932 texts over fixed buffers.
//
// Every text the tool handles is a byte string in code page 932. A Text<N> holds at most N - 1
// bytes and is always zero-terminated; an append that does not fit stores nothing of the part that
// does not fit and sets `overflowed`, so a caller can refuse to use a path that was cut short.
#pragma once

#include <stddef.h>

namespace cp932 {

// Lead bytes of a double-byte character: 0x81-0x9F and 0xE0-0xFC.
inline bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length of the character starting at s[i] within a text of `length` bytes: 2 for a lead byte
// followed by another byte, else 1 (a lone lead byte at the end counts as one character).
inline size_t CharLength(const char* s, size_t i, size_t length) {
  return (IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < length) ? 2 : 1;
}

// True when the last character of s is a single-byte backslash. A double-byte character whose
// second byte is 0x5C (ソ is 83 5C) is not a backslash.
bool EndsWithBackslash(const char* s, size_t length);

// Position of the first occurrence of `needle` in the first `length` bytes of `haystack` that
// starts on a character boundary, or -1. An empty needle is found at 0.
long FindInText(const char* haystack, size_t length, const char* needle);

// Position of the first occurrence of `needle` as plain bytes, on any byte, or -1.
long FindBytes(const char* haystack, size_t length, const char* needle);

}  // namespace cp932

size_t TextLength(const char* s);
size_t TextLength(const char* s, size_t limit);  // up to the first zero byte, at most `limit`
bool TextEquals(const char* a, const char* b);
void CopyBytes(void* dst, const void* src, size_t n);
void FillBytes(void* dst, unsigned char value, size_t n);

template <size_t Capacity>
struct Text {
  char bytes[Capacity];
  size_t length;
  bool overflowed;

  // All zero, so a process-wide Text takes no room in the executable file.
  constexpr Text() : bytes{}, length(0), overflowed(false) {}
  explicit Text(const char* s) {
    Clear();
    Append(s);
  }

  void Clear() {
    bytes[0] = 0;
    length = 0;
    overflowed = false;
  }
  const char* c_str() const { return bytes; }
  bool Empty() const { return length == 0; }
  static constexpr size_t capacity() { return Capacity; }

  Text& Append(const char* s, size_t n) {
    if (overflowed || n > Capacity - 1 - length) {
      overflowed = true;
      return *this;
    }
    CopyBytes(bytes + length, s, n);
    length += n;
    bytes[length] = 0;
    return *this;
  }
  Text& Append(const char* s) { return Append(s, TextLength(s)); }
  Text& AppendChar(char c) { return Append(&c, 1); }

  Text& AppendDecimal(long value) {
    char digits[24];
    size_t n = 0;
    unsigned long magnitude =
        value < 0 ? 0UL - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
    do {
      digits[n++] = static_cast<char>('0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
      digits[n++] = '-';
    char ordered[24];
    for (size_t i = 0; i < n; ++i)
      ordered[i] = digits[n - 1 - i];
    return Append(ordered, n);
  }

  // Appends `pattern` with each "%s" replaced by the next of `args` (an exhausted list gives "").
  Text& AppendFormat(const char* pattern, const char* const* args, size_t count) {
    size_t used = 0;
    const char* run = pattern;
    for (const char* p = pattern; *p;) {
      if (p[0] == '%' && p[1] == 's') {
        Append(run, static_cast<size_t>(p - run));
        if (used < count)
          Append(args[used]);
        ++used;
        p += 2;
        run = p;
      } else {
        ++p;
      }
    }
    return Append(run);
  }

  // Makes the text end in a backslash unless its last character already is one.
  Text& EnsureTrailingBackslash() {
    if (!cp932::EndsWithBackslash(bytes, length))
      AppendChar('\\');
    return *this;
  }
};
