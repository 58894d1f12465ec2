#include "text/Big5Decode.h"

#include <cstddef>

#include "text/Big5Pairs.h"

namespace v3 {
namespace {

char16_t pairAt(unsigned char lead, unsigned char trail) { return kBig5Pairs[size_t((lead - 0x80) * 256 + trail)]; }

}  // namespace

bool DecodeCommonBig5(QByteArrayView bytes, QString* out) {
  if (!kBig5AsciiIsIdentity) return false;
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  const qsizetype size = bytes.size();
  out->resize(size);  // never more characters than bytes
  char16_t* d = reinterpret_cast<char16_t*>(out->data());
  char16_t* const start = d;
  qsizetype i = 0;
  while (i < size) {
    const unsigned char b = in[i];
    if (b < 0x80) {
      *d++ = b;
      ++i;
      continue;
    }
    if (i + 1 >= size) return false;
    const char16_t c = pairAt(b, in[i + 1]);
    if (!c) return false;
    *d++ = c;
    i += 2;
  }
  out->truncate(d - start);
  return true;
}

bool IsPlainCommonBig5(QByteArrayView bytes) {
  if (!kBig5AsciiIsIdentity) return false;
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  const qsizetype size = bytes.size();
  for (qsizetype i = 0; i < size;) {
    const unsigned char b = in[i];
    if (b < 0x80) {
      if (b < 0x20) return false;
      ++i;
      continue;
    }
    if (i + 1 >= size) return false;
    const char16_t c = pairAt(b, in[i + 1]);
    if (c < 0x20) return false;
    i += 2;
  }
  return true;
}

}  // namespace v3
