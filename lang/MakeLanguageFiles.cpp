// Writes the language files that ship beside the program:
//   MakeLanguageFiles texts.ini traditional.ini CHS.txt CHT.txt
//   MakeLanguageFiles --show texts.ini traditional.ini   (the Traditional texts, UTF-8, for review)
// texts.ini holds every section and key with its Simplified text (UTF-8).
// CHS.txt gets those texts in GBK; CHT.txt gets their Traditional form in
// Big5: the text mapped character by character, with the words of the
// section [Words] of traditional.ini replaced by their Traditional usage
// (longest word first), unless traditional.ini has the same section and key,
// whose text is then used as it stands.
// Any text that an encoding cannot hold exactly, that is empty, or that does
// not fit the 126 bytes a lookup reads, stops the build with its line.
#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "text/Big5.h"

namespace {

constexpr int kValueBytes = 126;

struct Line {
  enum Kind { Blank, Section, Entry } kind = Blank;
  int number = 0;  // line number in the source
  QString section;
  QString key;
  QString value;
};

bool fail(const QString& message) {
  std::fprintf(stderr, "%s\n", qPrintable(message));
  return false;
}

QString entryId(const QString& section, const QString& key) { return section.toLower() + QChar(0x1F) + key.toLower(); }

// Reads a UTF-8 INI source: comments and blank lines are dropped, sections
// and entries kept in order. Duplicate keys are refused (a reader uses the first).
bool readSource(const QString& path, std::vector<Line>* lines) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return fail(QStringLiteral("%1: cannot be read").arg(path));
  const QStringList text = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
  QString section;
  QHash<QString, int> seen;
  for (int i = 0; i < text.size(); ++i) {
    const QString t = text[i].trimmed();
    const QString where = QStringLiteral("%1:%2: ").arg(path).arg(i + 1);
    if (t.isEmpty() || t.startsWith(QLatin1Char(';'))) continue;
    Line l;
    l.number = i + 1;
    if (t.startsWith(QLatin1Char('['))) {
      if (!t.endsWith(QLatin1Char(']'))) return fail(where + QStringLiteral("unclosed section name"));
      section = t.mid(1, t.size() - 2).trimmed();
      l.kind = Line::Section;
      l.section = section;
    } else {
      const qsizetype eq = t.indexOf(QLatin1Char('='));
      if (eq <= 0) return fail(where + QStringLiteral("neither a section nor key=value"));
      if (section.isEmpty()) return fail(where + QStringLiteral("entry before the first section"));
      l.kind = Line::Entry;
      l.section = section;
      l.key = t.left(eq).trimmed();
      l.value = t.mid(eq + 1).trimmed();
      if (l.value.isEmpty()) return fail(where + QStringLiteral("empty value"));
      const QString id = entryId(section, l.key);
      if (seen.contains(id)) return fail(where + QStringLiteral("duplicate of line %1").arg(seen.value(id)));
      seen.insert(id, l.number);
    }
    lines->push_back(l);
  }
  return true;
}

// The text in the code page, or a failure when it does not survive the round trip or is too long.
bool encodeExactly(const QString& text, int codePage, const QString& where, QByteArray* out) {
  *out = v3::EncodeCodePage(text, codePage);
  if (v3::DecodeCodePage(*out, codePage) != text)
    return fail(where + QStringLiteral("\"%1\" has characters that code page %2 cannot hold").arg(text).arg(codePage));
  if (out->size() > kValueBytes)
    return fail(where + QStringLiteral("\"%1\" takes %2 bytes in code page %3, more than %4")
                            .arg(text)
                            .arg(out->size())
                            .arg(codePage)
                            .arg(kValueBytes));
  return true;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
  QSaveFile out(path);
  if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
    return fail(QStringLiteral("%1: cannot be written").arg(path));
  return true;
}

bool run(const QStringList& args) {
  const bool show = !args.isEmpty() && args.first() == QLatin1String("--show");
  const QStringList files = show ? args.mid(1) : args;
  if (files.size() != (show ? 2 : 4))
    return fail(
        QStringLiteral("usage: MakeLanguageFiles texts.ini traditional.ini CHS.txt CHT.txt\n"
                       "       MakeLanguageFiles --show texts.ini traditional.ini"));

  std::vector<Line> source, overrides;
  if (!readSource(files[0], &source) || !readSource(files[1], &overrides)) return false;

  QHash<QString, QString> traditional;
  QHash<QString, int> overrideLine;
  std::vector<std::pair<QString, QString>> words;
  for (const Line& l : overrides)
    if (l.kind == Line::Entry && l.section == QLatin1String("Words")) {
      words.emplace_back(l.key, l.value);
    } else if (l.kind == Line::Entry) {
      traditional.insert(entryId(l.section, l.key), l.value);
      overrideLine.insert(entryId(l.section, l.key), l.number);
    }
  for (const Line& l : source)
    if (l.kind == Line::Entry) overrideLine.remove(entryId(l.section, l.key));
  for (auto it = overrideLine.cbegin(); it != overrideLine.cend(); ++it)
    return fail(QStringLiteral("%1:%2: no such section and key in %3").arg(files[1]).arg(it.value()).arg(files[0]));

  std::stable_sort(words.begin(), words.end(),
                   [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
  auto usage = [&](const QString& mapped) {
    QString out;
    for (qsizetype i = 0; i < mapped.size();) {
      bool replaced = false;
      for (const auto& [word, preferred] : words)
        if (QStringView(mapped).mid(i).startsWith(word)) {
          out += preferred;
          i += word.size();
          replaced = true;
          break;
        }
      if (!replaced) out += mapped[i++];
    }
    return out;
  };

  const QByteArray eol("\r\n");
  QByteArray chs = v3::EncodeCodePage(QStringLiteral("; Vantaro3 DataEditer 语言文件（简体中文）"), 936) + eol;
  QByteArray cht = v3::EncodeCodePage(QStringLiteral("; Vantaro3 DataEditer 語言檔案（繁體中文）"), 950) + eol;
  for (const Line& l : source) {
    if (l.kind == Line::Section) {
      const QByteArray s = '[' + l.section.toLatin1() + ']';
      chs += eol + s + eol;
      cht += eol + s + eol;
      continue;
    }
    const QString where = QStringLiteral("%1:%2: ").arg(files[0]).arg(l.number);
    const QString hant = traditional.value(entryId(l.section, l.key), usage(v3::ToTraditional(l.value)));
    if (show) {
      std::printf("[%s] %s=%s\n", qPrintable(l.section), qPrintable(l.key), hant.toUtf8().constData());
      continue;
    }
    QByteArray hansBytes, hantBytes;
    if (!encodeExactly(l.value, 936, where, &hansBytes) || !encodeExactly(hant, 950, where, &hantBytes)) return false;
    const QByteArray key = l.key.toLatin1();
    chs += key + '=' + hansBytes + eol;
    cht += key + '=' + hantBytes + eol;
  }
  if (show) return true;
  return writeFile(files[2], chs) && writeFile(files[3], cht);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  return run(app.arguments().mid(1)) ? 0 : 1;
}
