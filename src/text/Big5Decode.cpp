#include "text/Big5Decode.h"

#include <unicode/ucnv.h>

#include <array>
#include <memory>

namespace v3 {
namespace {

// table[(lead - 0x80) * 256 + trail] is the character of the double-byte
// code, 0 where the code is no plain mapping of two bytes to one character.
struct Big5Table {
  std::array<char16_t, 128 * 256> pairs{};
  bool asciiIsIdentity = false;

  Big5Table() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, void (*)(UConverter*)> conv(ucnv_open("windows-950", &status), ucnv_close);
    if (U_FAILURE(status) || !conv) return;  // no table: every text goes to ICU

    // Bytes 0x00..0x7F must come out as themselves.
    char ascii[128];
    for (int b = 0; b < 128; ++b) ascii[b] = char(b);
    UChar asciiOut[256];
    status = U_ZERO_ERROR;
    ucnv_resetToUnicode(conv.get());
    int32_t n = ucnv_toUChars(conv.get(), asciiOut, 256, ascii, 128, &status);
    asciiIsIdentity = U_SUCCESS(status) && n == 128;
    for (int b = 0; asciiIsIdentity && b < 128; ++b) asciiIsIdentity = asciiOut[b] == b;

    // Each lead byte's pairs in one run, each unit with the offset of the
    // byte its character starts at. A character of exactly the two bytes of
    // a pair (one unit from the pair's first byte, nothing from its second,
    // the next unit from the next pair on) is what the pair alone gives, as
    // the converter keeps no state between characters. Any other pair is
    // converted on its own.
    // Trail bytes lie in 0x40..0xFE; a pair with any other second byte goes to ICU.
    constexpr int kTrails = 0xFE - 0x40 + 1;
    constexpr int kBytes = 2 * kTrails;
    for (int lead = 0x80; lead < 0x100; ++lead) {
      char in[kBytes];
      for (int k = 0; k < kTrails; ++k) {
        in[2 * k] = char(lead);
        in[2 * k + 1] = char(0x40 + k);
      }
      UChar units[kBytes + 8];
      int32_t offsets[kBytes + 8];
      UChar* target = units;
      const char* source = in;
      status = U_ZERO_ERROR;
      ucnv_resetToUnicode(conv.get());
      ucnv_toUnicode(conv.get(), &target, units + kBytes + 8, &source, in + kBytes, offsets, true, &status);
      const int produced = U_SUCCESS(status) ? int(target - units) : 0;
      int first[kBytes + 1], count[kBytes + 1] = {};  // the units that start at each byte
      for (int u = 0; u < produced; ++u)
        if (offsets[u] >= 0 && offsets[u] < kBytes && count[offsets[u]]++ == 0) first[offsets[u]] = u;
      for (int p = 0; p < kBytes; p += 2) {
        const int trail = uchar(in[p + 1]);
        if (count[p] == 1 && count[p + 1] == 0 && (p + 2 == kBytes || count[p + 2] > 0)) {
          accept(lead, trail, units[first[p]]);
          continue;
        }
        const char pair[2] = {char(lead), char(trail)};
        UChar out[8];
        status = U_ZERO_ERROR;
        ucnv_resetToUnicode(conv.get());
        n = ucnv_toUChars(conv.get(), out, 8, pair, 2, &status);
        if (U_SUCCESS(status) && n == 1) accept(lead, trail, out[0]);
      }
    }
  }

  // A character that is no substitution and no half of a surrogate pair.
  void accept(int lead, int trail, char16_t c) {
    if (c == 0 || c == 0xFFFD || c == 0x1A || (c >= 0xD800 && c <= 0xDFFF)) return;
    pairs[size_t((lead - 0x80) * 256 + trail)] = c;
  }
};

const Big5Table& table() {
  static const Big5Table t;
  return t;
}

}  // namespace

bool DecodeCommonBig5(QByteArrayView bytes, QString* out) {
  const Big5Table& t = table();
  if (!t.asciiIsIdentity) return false;
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
    const char16_t c = t.pairs[size_t((b - 0x80) * 256 + in[i + 1])];
    if (!c) return false;
    *d++ = c;
    i += 2;
  }
  out->truncate(d - start);
  return true;
}

bool IsPlainCommonBig5(QByteArrayView bytes) {
  const Big5Table& t = table();
  if (!t.asciiIsIdentity) return false;
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
    const char16_t c = t.pairs[size_t((b - 0x80) * 256 + in[i + 1])];
    if (c < 0x20) return false;
    i += 2;
  }
  return true;
}

}  // namespace v3
