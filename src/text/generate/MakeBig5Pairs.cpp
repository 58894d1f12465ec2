// Writes the table of text/Big5Pairs.h, as C++, to the file named on the
// command line: run when the program is built, with the ICU it links.
#include <unicode/ucnv.h>
#include <unicode/uclean.h>

#include <array>
#include <cstdio>
#include <memory>

namespace {

struct Pairs {
  std::array<char16_t, 128 * 256> pairs{};
  bool asciiIsIdentity = false;

  // A character that is no substitution and no half of a surrogate pair.
  void accept(int lead, int trail, char16_t c) {
    if (c == 0 || c == 0xFFFD || c == 0x1A || (c >= 0xD800 && c <= 0xDFFF)) return;
    pairs[size_t((lead - 0x80) * 256 + trail)] = c;
  }

  bool make() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, void (*)(UConverter*)> conv(ucnv_open("windows-950", &status), ucnv_close);
    if (U_FAILURE(status) || !conv) return false;

    // Bytes 0x00..0x7F must come out as themselves.
    char ascii[128];
    for (int b = 0; b < 128; ++b) ascii[b] = char(b);
    UChar asciiOut[256];
    status = U_ZERO_ERROR;
    ucnv_resetToUnicode(conv.get());
    const int32_t n = ucnv_toUChars(conv.get(), asciiOut, 256, ascii, 128, &status);
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
        const int trail = static_cast<unsigned char>(in[p + 1]);
        if (count[p] == 1 && count[p + 1] == 0 && (p + 2 == kBytes || count[p + 2] > 0)) {
          accept(lead, trail, units[first[p]]);
          continue;
        }
        const char pair[2] = {char(lead), char(trail)};
        UChar out[8];
        status = U_ZERO_ERROR;
        ucnv_resetToUnicode(conv.get());
        if (ucnv_toUChars(conv.get(), out, 8, pair, 2, &status) == 1 && U_SUCCESS(status)) accept(lead, trail, out[0]);
      }
    }
    return true;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.cpp\n", argv[0]);
    return 2;
  }
  Pairs t;
  // Without the converter every pair stays 0 and every text goes to ICU.
  const bool made = t.make();
  u_cleanup();
  std::FILE* out = std::fopen(argv[1], "w");
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  std::fprintf(out, "// Made from ICU's windows-950 converter when the program was built.\n");
  std::fprintf(out, "#include \"text/Big5Pairs.h\"\n\nnamespace v3 {\n\n");
  std::fprintf(out, "const bool kBig5AsciiIsIdentity = %s;\n\n", made && t.asciiIsIdentity ? "true" : "false");
  std::fprintf(out, "const char16_t kBig5Pairs[128 * 256] = {\n");
  for (size_t i = 0; i < t.pairs.size(); ++i)
    std::fprintf(out, "%u,%s", unsigned(t.pairs[i]), i % 16 == 15 ? "\n" : "");
  std::fprintf(out, "};\n\n}  // namespace v3\n");
  return std::fclose(out) == 0 ? 0 : 1;
}
