#include "setup/text.h"

namespace cp932 {

bool EndsWithBackslash(const char* s, size_t length) {
  bool last_is_backslash = false;
  for (size_t i = 0; i < length;) {
    size_t n = CharLength(s, i, length);
    last_is_backslash = (n == 1 && s[i] == '\\');
    i += n;
  }
  return last_is_backslash;
}

static bool MatchesAt(const char* haystack, size_t length, size_t at, const char* needle,
                      size_t needle_length) {
  if (needle_length > length - at)
    return false;
  for (size_t k = 0; k < needle_length; ++k) {
    if (haystack[at + k] != needle[k])
      return false;
  }
  return true;
}

long FindInText(const char* haystack, size_t length, const char* needle) {
  size_t needle_length = TextLength(needle);
  for (size_t i = 0; i <= length;) {
    if (MatchesAt(haystack, length, i, needle, needle_length))
      return static_cast<long>(i);
    if (i == length)
      break;
    i += CharLength(haystack, i, length);
  }
  return -1;
}

long FindBytes(const char* haystack, size_t length, const char* needle) {
  size_t needle_length = TextLength(needle);
  for (size_t i = 0; i <= length; ++i) {
    if (MatchesAt(haystack, length, i, needle, needle_length))
      return static_cast<long>(i);
  }
  return -1;
}

}  // namespace cp932

size_t TextLength(const char* s) {
  size_t n = 0;
  while (s[n])
    ++n;
  return n;
}

size_t TextLength(const char* s, size_t limit) {
  size_t n = 0;
  while (n < limit && s[n])
    ++n;
  return n;
}

bool TextEquals(const char* a, const char* b) {
  while (*a && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}

void CopyBytes(void* dst, const void* src, size_t n) {
  unsigned char* d = static_cast<unsigned char*>(dst);
  const unsigned char* s = static_cast<const unsigned char*>(src);
  for (size_t i = 0; i < n; ++i)
    d[i] = s[i];
}

void FillBytes(void* dst, unsigned char value, size_t n) {
  unsigned char* d = static_cast<unsigned char*>(dst);
  for (size_t i = 0; i < n; ++i)
    d[i] = value;
}
