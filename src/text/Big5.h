#pragma once
#include <QByteArray>
#include <QString>

namespace v3 {

// Text fields of the game files hold Big5 (code page 950) bytes.

// Field bytes as read -> display text. The first zero byte ends the text;
// bytes that are no Big5 sequence show as U+FFFD. Traditional text stays
// Traditional on every locale.
QString DecodeBig5Text(QByteArrayView fieldBytes);

// Display text -> the Big5 bytes written into a field. On a 2052 system the
// text first goes through ToTraditional; on 1028 and every other locale it is
// encoded as it stands. A character that Big5 cannot hold becomes '?'.
QByteArray EncodeBig5Text(const QString& text);

// Simplified -> Traditional, character for character (the length is kept),
// except for the seven exception words, which are kept when they are the whole text.
QString ToTraditional(const QString& text);

// Number of bytes EncodeBig5Text(text) occupies.
int EncodedByteLength(const QString& text);

// Plain code-page conversions (no Simplified mapping), for language files.
QString DecodeCodePage(QByteArrayView bytes, int codePage);   // 936 or 950
QByteArray EncodeCodePage(const QString& text, int codePage);  // '?' for what the page lacks

}  // namespace v3
