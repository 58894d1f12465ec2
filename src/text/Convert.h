#pragma once
#include <QString>
#include <QStringView>

#include <optional>
#include <cstdint>

namespace v3 {

// Year codes of the case tables: 1..4 are the four year words, 0 reads as
// "特殊" too; any other code has no word and shows as its number.
QString YearCodeToText(int64_t code);
// The four words give 1..4, an empty text 0, a plain decimal number that
// number (whatever its range); any other text -1.
int64_t YearTextToCode(const QString& text);

// Integer widths that the tables read and write.
enum class IntWidth : uint8_t { U8, S16, S32 };
int64_t MinOf(IntWidth w);
int64_t MaxOf(IntWidth w);
const char* WidthName(IntWidth w);  // "0..255", "-32768..32767", ...

// A grid cell as an integer for writing. An empty (or blank) cell is 0; a
// decimal fraction is rounded to the nearest integer, an exact half to the
// even neighbour ("2.5" -> 2, "-1.5" -> -2). Returns false with a reason for
// text that is no number or a number outside the width.
bool CellToInteger(const QString& cell, IntWidth width, int64_t* value, QString* reason);

// Whether the cell is a plain decimal integer ("-12", "300"), and its value.
bool IsPlainInteger(const QString& cell, int64_t* value);

// Numeric sort key of a cell: its number, or 0 for text that is none.
double NumericSortKey(const QString& cell);

// A number as decimal text, as QString::number gives it. The texts of
// -32768..32767 are made once and shared by every cell that shows them,
// whatever thread makes them.
QString IntegerText(int64_t value);

// A text that is a whole number in that range written as IntegerText writes
// it ("0", "-5", "120"; not "007", "+5" or "-0"): the shared text, made
// without an allocation. Nothing for any other text.
std::optional<QString> SharedIntegerText(QStringView text);

}  // namespace v3
