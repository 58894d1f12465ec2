#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace v3 {

// Whole-text conversions that stop at the first byte or character the
// encoding cannot hold, instead of putting '?' or U+FFFD in its place. Used
// for files the user brings in or takes out (CSV), where a silent
// substitution would end up in the game's data.
enum class TextEncoding { Utf8, Gbk, Big5 };

// "utf-8", "gbk", "big5" (any case; "utf8", "cp936", "cp950" as well).
bool TextEncodingFromName(const QString& name, TextEncoding* encoding);
QString TextEncodingName(TextEncoding encoding);  // "UTF-8", "GBK", "Big5"

// Bytes -> text. On a byte sequence that is not valid in the encoding returns
// false with the offset of its first byte and the sequence's length in bytes.
bool DecodeStrict(QByteArrayView bytes, TextEncoding encoding, QString* text, qsizetype* badOffset = nullptr,
                  int* badLength = nullptr);

// Text -> bytes. On a character that the encoding cannot hold returns false
// with the index of that character (UTF-16 position) in the text.
bool EncodeStrict(const QString& text, TextEncoding encoding, QByteArray* bytes, qsizetype* badIndex = nullptr);

}  // namespace v3
