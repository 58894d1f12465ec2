#pragma once

namespace v3 {

// The characters of Big5's double-byte codes as ICU's windows-950 converter
// maps them, made from the converter when the program is built:
// kBig5Pairs[(lead - 0x80) * 256 + trail] is the one character of the two
// bytes, 0 where they are no plain mapping of two bytes to one character.
extern const char16_t kBig5Pairs[128 * 256];
// Whether the converter gives bytes 0x00..0x7F as themselves.
extern const bool kBig5AsciiIsIdentity;

}  // namespace v3
