#pragma once
#include <QByteArrayView>
#include <QString>

namespace v3 {

// The common case of Big5 (code page 950) decoding, from a table made from
// ICU's windows-950 converter when the program is built (text/Big5Pairs.h): ASCII bytes and the double-byte codes
// that ICU maps to one character. Gives exactly what ICU gives for such
// bytes. Returns false, leaving *out unspecified, as soon as the bytes hold
// anything else (a byte ICU would substitute, a lead byte at the end, a code
// without a mapping); the caller then asks ICU for the whole text.
bool DecodeCommonBig5(QByteArrayView bytes, QString* out);

// Whether DecodeCommonBig5() takes the bytes and gives no character below
// U+0020, without making the text.
bool IsPlainCommonBig5(QByteArrayView bytes);

}  // namespace v3
