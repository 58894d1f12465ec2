#include "text/Ini.h"

#include "text/DiskFile.h"

namespace v3 {
namespace ini {
namespace {

QByteArrayView trimmed(QByteArrayView v) {
  while (!v.isEmpty() && (v.front() == ' ' || v.front() == '\t')) v = v.sliced(1);
  while (!v.isEmpty() && (v.back() == ' ' || v.back() == '\t' || v.back() == '\r')) v.chop(1);
  return v;
}

bool sameName(QByteArrayView a, QByteArrayView b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

struct Line {
  qsizetype begin;  // offset of the line in the content
  qsizetype end;    // offset after the line's text (before '\n')
  qsizetype next;   // offset of the next line
};

template <typename F>
void forEachLine(const QByteArray& content, F f) {
  qsizetype pos = 0;
  while (pos < content.size()) {
    qsizetype nl = content.indexOf('\n', pos);
    const qsizetype end = nl < 0 ? content.size() : nl;
    const qsizetype next = nl < 0 ? content.size() : nl + 1;
    if (!f(Line{pos, end, next})) return;
    pos = next;
  }
}

// The section name of a "[name]" line, or nothing.
std::optional<QByteArrayView> sectionName(QByteArrayView line) {
  line = trimmed(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const qsizetype close = line.indexOf(']');
  if (close < 0) return std::nullopt;
  return trimmed(line.sliced(1, close - 1));
}

// Key and value of a "key=value" line, or nothing for comments and other lines.
bool keyValue(QByteArrayView line, QByteArrayView* key, QByteArrayView* value) {
  const QByteArrayView t = trimmed(line);
  if (t.isEmpty() || t.front() == ';') return false;
  const qsizetype eq = line.indexOf('=');
  if (eq < 0) return false;
  *key = trimmed(line.first(eq));
  QByteArrayView v = trimmed(line.sliced(eq + 1));
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.sliced(1, v.size() - 2);
  *value = v;
  return !key->isEmpty();
}

}  // namespace

std::optional<QByteArray> FindValue(const QByteArray& content, QByteArrayView section, QByteArrayView key) {
  bool inSection = false;
  std::optional<QByteArray> result;
  forEachLine(content, [&](const Line& l) {
    const QByteArrayView line(content.constData() + l.begin, l.end - l.begin);
    if (auto name = sectionName(line)) {
      inSection = sameName(*name, section);
      return true;
    }
    QByteArrayView k, v;
    if (inSection && keyValue(line, &k, &v) && sameName(k, key)) {
      result = v.toByteArray();
      return false;
    }
    return true;
  });
  return result;
}

QByteArray SetValue(const QByteArray& content, QByteArrayView section, QByteArrayView key, QByteArrayView value) {
  const QByteArray eol = content.contains("\r\n") || content.isEmpty() ? QByteArray("\r\n") : QByteArray("\n");
  bool inSection = false;
  qsizetype sectionEnd = -1;  // where a new key of the section goes
  qsizetype keyBegin = -1, keyEnd = -1;
  forEachLine(content, [&](const Line& l) {
    const QByteArrayView line(content.constData() + l.begin, l.end - l.begin);
    if (auto name = sectionName(line)) {
      if (inSection) return false;  // the section ended; first occurrence only
      inSection = sameName(*name, section);
      if (inSection) sectionEnd = l.next;
      return true;
    }
    if (!inSection) return true;
    QByteArrayView k, v;
    if (keyValue(line, &k, &v) && sameName(k, key)) {
      keyBegin = l.begin;
      keyEnd = l.end;
      if (keyEnd > keyBegin && content[keyEnd - 1] == '\r') --keyEnd;
      return false;
    }
    if (!trimmed(line).isEmpty()) sectionEnd = l.next;
    return true;
  });
  const QByteArray entry = key.toByteArray() + '=' + value.toByteArray();
  QByteArray out = content;
  if (keyBegin >= 0) return out.replace(keyBegin, keyEnd - keyBegin, entry);
  if (sectionEnd >= 0) {
    QByteArray insert = entry + eol;
    if (sectionEnd > 0 && out[sectionEnd - 1] != '\n') insert.prepend(eol);
    return out.insert(sectionEnd, insert);
  }
  if (!out.isEmpty() && !out.endsWith('\n')) out += eol;
  out += '[' + section.toByteArray() + ']' + eol + entry + eol;
  return out;
}

QString CutUtf8(const QString& text, int maxBytes) {
  int bytes = 0;
  qsizetype i = 0;
  while (i < text.size()) {
    const char32_t c = text[i].unicode();
    int len = 1, units = 1;
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      len = 4;
      units = 2;
    } else if (c >= 0x800) {
      len = 3;
    } else if (c >= 0x80) {
      len = 2;
    }
    if (bytes + len > maxBytes) break;
    bytes += len;
    i += units;
  }
  return text.left(i);
}

}  // namespace ini

QString ReadIniValue(const QString& section, const QString& key, const QString& defaultValue, const QString& file) {
  bool exists = false;
  QByteArray content;
  // A file that is there but cannot be read is never written over: its
  // other entries would be lost.
  if (!disk::Read(file, &content, &exists, nullptr)) return defaultValue;
  if (auto v = ini::FindValue(content, section.toUtf8(), key.toUtf8())) {
    QByteArray raw = *v;
    const qsizetype nul = raw.indexOf('\0');
    if (nul >= 0) raw.truncate(nul);
    const QString value = ini::CutUtf8(QString::fromUtf8(raw), 254);
    if (!value.isEmpty()) return value;
  }
  WriteIniValue(file, section, key, defaultValue);
  return defaultValue;
}

bool WriteIniValue(const QString& file, const QString& section, const QString& key, const QString& value,
                   QString* error) {
  bool exists = false;
  QByteArray content;
  if (!disk::Read(file, &content, &exists, error)) return false;
  const QByteArray updated = ini::SetValue(content, section.toUtf8(), key.toUtf8(), value.toUtf8());
  if (exists && updated == content) return true;
  return disk::Replace(file, updated, error);
}

}  // namespace v3
