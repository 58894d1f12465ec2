#pragma once
#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdint>

#include "text/Script.h"

namespace v3 {

// Text fields of the game files hold Big5 (code page 950) bytes.
//
// A byte that is no part of a Big5 character (a lead byte without its trail
// byte, a pair that Big5 does not assign) is held in display text as a byte
// character of its own: one code point of the private area U+10FE00..U+10FEFF
// per byte. Encoding turns it back into that very byte, so text decoded from
// a field always encodes to the field's bytes again; the grid shows it as U+FFFD.
char32_t ByteCharacter(uchar byte);
bool IsByteCharacter(char32_t c);
bool ContainsByteCharacters(const QString& text);
// The text with every byte character shown as U+FFFD (for display).
QString ShowByteCharacters(const QString& text);

// Field bytes as read -> display text. The first zero byte ends the text.
// Traditional text stays Traditional on every locale.
QString DecodeBig5Text(QByteArrayView fieldBytes);
// The same for a text of explicit length: every byte is part of it, and a
// zero byte is U+0000.
QString DecodeBig5Bytes(QByteArrayView bytes);
// The same two into *out, reusing its room (no allocation once it is large enough).
void DecodeBig5TextInto(QByteArrayView fieldBytes, QString* out);
void DecodeBig5BytesInto(QByteArrayView bytes, QString* out);

// What encoding display text gave: its Big5 bytes, or the first character
// that Big5 cannot hold (as typed; empty when every character was stored).
struct Big5Encoded {
  QByteArray bytes;
  QString unencodable;
  bool ok() const { return unencodable.isEmpty(); }
  // "“团” 无法以 Big5 保存"
  QString problem() const;
};

// Display text -> the Big5 bytes written into a field. For a Simplified
// system (see SystemTextScript) the text first goes through ToTraditional;
// for every other it is encoded as it stands. Nothing is replaced: a character that Big5 cannot
// hold is reported, never written as something else. Every character a
// decoding gave comes back as its bytes, control characters included: what
// a changed cell may hold is FirstControlCharacter's to say.
Big5Encoded EncodeBig5Text(const QString& text, Script systemScript = Script::Traditional);

// Whether a text field may hold line breaks (CR, LF): a description that the
// record dialogs edit as several lines, or a text the file counts out byte
// by byte, may; a name or a type of one line may not.
enum class LineBreaks : uint8_t { Refused, Allowed };

// The first character of a changed text that no text field may take: U+0000
// (the game reads a text up to its first zero byte), the other C0 controls
// but tab, and DEL; CR and LF too unless `lineBreaks` allows them. A
// character that the text as read (`asRead`) holds as well came from the
// file and stays. -1 for none.
qsizetype FirstControlCharacter(QStringView text, LineBreaks lineBreaks, QStringView asRead = {});
// Its refusal: "控制字符 U+0000 无法以 Big5 保存", a line break's "换行符 U+000A：此栏只能有一行文字".
QString ControlCharacterProblem(QStringView text, qsizetype at);

// Simplified -> Traditional, character for character (the length is kept),
// except for the seven exception words, which are kept when they are the whole text.
QString ToTraditional(const QString& text);

// Number of bytes EncodeBig5Text(text, systemScript) occupies; -1 when Big5 cannot hold the text.
int EncodedByteLength(const QString& text, Script systemScript = Script::Traditional);

// Plain code-page conversions (no Simplified mapping), for language files.
QString DecodeCodePage(QByteArrayView bytes, int codePage);    // 936 or 950
QByteArray EncodeCodePage(const QString& text, int codePage);  // '?' for what the page lacks

}  // namespace v3
