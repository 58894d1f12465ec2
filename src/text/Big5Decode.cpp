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

    // Each pair on its own: accepted only when ICU turns the two bytes into
    // one character that is no substitution and no half of a surrogate pair.
    for (int lead = 0x80; lead < 0x100; ++lead)
      for (int trail = 0; trail < 0x100; ++trail) {
        if (!isPossibleTrail(trail)) continue;
        const char in[2] = {char(lead), char(trail)};
        UChar out[8];
        status = U_ZERO_ERROR;
        ucnv_resetToUnicode(conv.get());
        n = ucnv_toUChars(conv.get(), out, 8, in, 2, &status);
        if (U_FAILURE(status) || n != 1) continue;
        const char16_t c = out[0];
        if (c == 0 || c == 0xFFFD || c == 0x1A || (c >= 0xD800 && c <= 0xDFFF)) continue;
        pairs[size_t((lead - 0x80) * 256 + trail)] = c;
      }
  }

  // Trail bytes lie in 0x40..0xFE; a pair with any other second byte goes to ICU.
  static bool isPossibleTrail(int b) { return b >= 0x40 && b <= 0xFE; }
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

}  // namespace v3
