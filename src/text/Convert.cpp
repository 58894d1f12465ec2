#include "text/Convert.h"

#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <memory>

namespace v3 {
namespace {
struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Numbers)
};
}  // namespace

QString YearCodeToText(int64_t code) {
  switch (code) {
    case 0:
    case 4: return QStringLiteral("特殊");
    case 1: return QStringLiteral("第一年");
    case 2: return QStringLiteral("第二年");
    case 3: return QStringLiteral("第三年");
    default: return QString::number(code);
  }
}

int64_t YearTextToCode(const QString& text) {
  if (text == QStringLiteral("第一年")) return 1;
  if (text == QStringLiteral("第二年")) return 2;
  if (text == QStringLiteral("第三年")) return 3;
  if (text == QStringLiteral("特殊")) return 4;
  if (QStringView(text).trimmed().isEmpty()) return 0;
  int64_t v = 0;
  return IsPlainInteger(text, &v) ? v : -1;
}

int64_t MinOf(IntWidth w) {
  switch (w) {
    case IntWidth::U8: return 0;
    case IntWidth::S16: return -32768;
    case IntWidth::S32: return std::numeric_limits<int32_t>::min();
  }
  return 0;
}

int64_t MaxOf(IntWidth w) {
  switch (w) {
    case IntWidth::U8: return 255;
    case IntWidth::S16: return 32767;
    case IntWidth::S32: return std::numeric_limits<int32_t>::max();
  }
  return 0;
}

const char* WidthName(IntWidth w) {
  switch (w) {
    case IntWidth::U8: return "0..255";
    case IntWidth::S16: return "-32768..32767";
    case IntWidth::S32: return "-2147483648..2147483647";
  }
  return "";
}

namespace {
// Parses [blanks][+|-]digits[.digits][blanks] or [+|-].digits; no exponents,
// no thousands separators. Returns false for anything else.
bool parseDecimal(const QString& cell, bool* negative, QStringView* intPart, QStringView* fracPart) {
  QStringView s = QStringView(cell).trimmed();
  *negative = false;
  if (!s.isEmpty() && (s.front() == u'+' || s.front() == u'-')) {
    *negative = s.front() == u'-';
    s = s.mid(1);
  }
  const qsizetype dot = s.indexOf(u'.');
  *intPart = dot < 0 ? s : s.first(dot);
  *fracPart = dot < 0 ? QStringView() : s.mid(dot + 1);
  if (intPart->isEmpty() && fracPart->isEmpty()) return false;
  for (QChar c : *intPart)
    if (c < u'0' || c > u'9') return false;
  for (QChar c : *fracPart)
    if (c < u'0' || c > u'9') return false;
  return true;
}
}  // namespace

bool IsPlainInteger(const QString& cell, int64_t* value) {
  bool negative;
  QStringView ip, fp;
  if (!parseDecimal(cell, &negative, &ip, &fp) || ip.isEmpty() || cell.contains(u'.')) return false;
  if (ip.size() > 12) return false;
  int64_t v = 0;
  for (QChar c : ip) v = v * 10 + (c.unicode() - u'0');
  *value = negative ? -v : v;
  return true;
}

bool CellToInteger(const QString& cell, IntWidth width, int64_t* value, QString* reason) {
  if (QStringView(cell).trimmed().isEmpty()) {
    *value = 0;
    return true;
  }
  bool negative;
  QStringView ip, fp;
  if (!parseDecimal(cell, &negative, &ip, &fp)) {
    if (reason) *reason = Texts::tr("“%1”不是数字").arg(cell);
    return false;
  }
  // Strip leading zeros so that very long digit runs are judged by their value.
  while (ip.size() > 1 && ip.front() == u'0') ip = ip.mid(1);
  int64_t whole = 0;
  bool huge = ip.size() > 15;
  if (!huge)
    for (QChar c : ip) whole = whole * 10 + (c.unicode() - u'0');
  if (!huge && !fp.isEmpty()) {
    // Round half to even on the decimal digits, without floating point.
    const int first = fp.front().unicode() - u'0';
    bool restNonZero = false;
    for (QChar c : fp.mid(1))
      if (c != u'0') restNonZero = true;
    if (first > 5 || (first == 5 && restNonZero) || (first == 5 && !restNonZero && (whole % 2 == 1))) ++whole;
  }
  const int64_t v = negative ? -whole : whole;
  if (huge || v < MinOf(width) || v > MaxOf(width)) {
    if (reason) *reason = Texts::tr("%1 超出范围 %2").arg(cell.trimmed(), QLatin1String(WidthName(width)));
    return false;
  }
  *value = v;
  return true;
}

double NumericSortKey(const QString& cell) {
  // A whole number of up to 15 digits, the common key, without the parser.
  const qsizetype n = cell.size();
  const QChar* c = cell.constData();
  const qsizetype first = n > 0 && c[0] == u'-' ? 1 : 0;
  if (n > first && n - first <= 15) {
    int64_t whole = 0;
    qsizetype i = first;
    for (; i < n && c[i] >= u'0' && c[i] <= u'9'; ++i) whole = whole * 10 + (c[i].unicode() - u'0');
    if (i == n) return first ? -double(whole) : double(whole);
  }
  bool ok = false;
  const double d = QStringView(cell).trimmed().toDouble(&ok);
  return ok && std::isfinite(d) ? d : 0.0;
}

QString IntegerText(int64_t value) {
  if (value < -32768 || value > 32767) return QString::number(value);
  // Each text lies in six characters of one buffer that lives as long as the
  // program; a string over raw data is copied without touching a reference
  // count (and a change to it copies it first).
  // A text is written once, by the thread that claims it; another thread
  // that finds it being written makes its own.
  constexpr int kWidth = 6;  // "-32768"
  constexpr uint8_t kClaimed = 0xFF;
  static char16_t texts[65536 * kWidth];
  static std::atomic<uint8_t> lengths[65536];
  const size_t at = size_t(value + 32768);
  uint8_t length = lengths[at].load(std::memory_order_acquire);
  if (length == 0 && lengths[at].compare_exchange_strong(length, kClaimed, std::memory_order_acquire)) {
    const QString text = QString::number(value);
    std::copy(text.utf16(), text.utf16() + text.size(), texts + at * kWidth);
    length = uint8_t(text.size());
    lengths[at].store(length, std::memory_order_release);
  }
  if (length == 0 || length == kClaimed) return QString::number(value);
  return QString::fromRawData(reinterpret_cast<const QChar*>(texts + at * kWidth), length);
}

std::optional<QString> SharedIntegerText(QStringView s) {
  const qsizetype n = s.size();
  const bool negative = n > 0 && s[0] == u'-';
  const qsizetype first = negative ? 1 : 0;
  if (n == first || n > 6 || (s[first] == u'0' && (n > first + 1 || negative))) return std::nullopt;
  int value = 0;
  for (qsizetype i = first; i < n; ++i) {
    const char16_t c = s[i].unicode();
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
  }
  if (value > (negative ? 32768 : 32767)) return std::nullopt;
  return IntegerText(negative ? -value : value);
}

}  // namespace v3
