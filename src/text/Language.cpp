#include "text/Language.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>

#include "text/Big5.h"
#include "text/DiskFile.h"
#include "text/Ini.h"

namespace v3 {
namespace {

constexpr int kValueBytes = 126;  // the reader's buffer holds 126 bytes and the terminator

}  // namespace

// The file and what was last read from it. The content is kept only while
// the file's modification time and size stay as they were.
struct LanguageFile::State {
  QString folder;
  QString path;
  Script script = Script::Simplified;
  int codePage = 0;  // 936 or 950

  bool loaded = false;
  QDateTime modified;
  QDateTime changed;
  qint64 size = -1;
  QByteArray content;
  QHash<QString, QString> values;  // "section\x1Fkey" as asked -> value, empty when missing
};

namespace {
using LanguageState = LanguageFile::State;

void forget(LanguageState& s) {
  s.loaded = false;
  s.content.clear();
  s.values.clear();
  s.size = -1;
}

// Whether the file is there; brings the cached content up to date with it.
bool refresh(LanguageState& s) {
  if (s.path.isEmpty()) return false;
  const QFileInfo info(s.path);
  if (!info.isFile()) {
    forget(s);
    return false;
  }
  const QDateTime modified = info.lastModified();
  const QDateTime changed = info.metadataChangeTime();
  if (s.loaded && s.size == info.size() && s.modified == modified && s.changed == changed) return true;
  // Captions come from the whole file or not at all.
  QByteArray content;
  bool exists = false;
  if (!disk::Read(s.path, &content, &exists, nullptr) || !exists) {
    forget(s);
    return false;
  }
  s.content = std::move(content);
  s.values.clear();
  s.size = info.size();
  s.modified = modified;
  s.changed = changed;
  s.loaded = true;
  return true;
}

// The longest start of the bytes of at most maxBytes that ends on a character
// boundary of a double-byte code page (lead bytes 0x81..0xFE take a second byte).
QByteArrayView cutAtCharacter(QByteArrayView bytes, qsizetype maxBytes) {
  qsizetype i = 0;
  while (i < bytes.size()) {
    const uchar c = uchar(bytes[i]);
    const qsizetype len = (c >= 0x81 && c <= 0xFE && i + 1 < bytes.size()) ? 2 : 1;
    if (i + len > maxBytes) break;
    i += len;
  }
  return bytes.first(i);
}

QString readValue(const LanguageState& s, const QString& section, const QString& key) {
  const auto raw = ini::FindValue(s.content, EncodeCodePage(section, s.codePage), EncodeCodePage(key, s.codePage));
  if (!raw) return QString();
  QByteArrayView v(*raw);
  const qsizetype nul = v.indexOf('\0');
  if (nul >= 0) v = v.first(nul);
  return DecodeCodePage(cutAtCharacter(v, kValueBytes), s.codePage);
}

}  // namespace

LanguageFile::LanguageFile() = default;

LanguageFile::LanguageFile(Script script, const QString& folder) : state_(std::make_shared<State>()) {
  state_->folder = folder;
  state_->script = script;
  state_->path = QDir(folder).filePath(LanguageFileName(script));
  state_->codePage = CodePageOf(script);
}

bool LanguageFile::isNone() const { return !state_; }
Script LanguageFile::script() const { return state_ ? state_->script : Script::Simplified; }
QString LanguageFile::path() const { return state_ ? state_->path : QString(); }
QString LanguageFile::folder() const { return state_ ? state_->folder : QString(); }

LanguageFile LanguageFile::withScript(Script script) const {
  if (!state_) return LanguageFile();
  if (script == state_->script) return *this;
  return LanguageFile(script, state_->folder);
}

QString LanguageFolder(const QString& programFolder) {
  const QDir own(programFolder);
  auto holds = [](const QDir& d) {
    return QFileInfo::exists(d.filePath(QStringLiteral("CHS.txt"))) ||
           QFileInfo::exists(d.filePath(QStringLiteral("CHT.txt")));
  };
  if (holds(own)) return programFolder;
  const QDir shared(own.filePath(QStringLiteral("../share/vantaro3")));
  if (holds(shared)) return shared.absolutePath();
  return programFolder;
}

QString LanguageFile::text(const QString& section, const QString& key, const QString& defaultText) const {
  if (!state_) return defaultText;
  LanguageState& s = *state_;
  if (!refresh(s)) return defaultText;
  const QString memoKey = section + QChar(0x1F) + key;
  auto it = s.values.constFind(memoKey);
  if (it == s.values.constEnd()) it = s.values.insert(memoKey, readValue(s, section, key));
  return it->isEmpty() ? defaultText : *it;
}

QStringList LanguageFile::list(const QString& section, int firstKey, int lastKey) const {
  QStringList entries;
  for (int k = firstKey; k <= lastKey; ++k) entries << text(section, QString::number(k), QString());
  return entries;
}

QStringList LanguageFile::headers(const QString& caption, int columnCount) const {
  return list(caption, 1, columnCount);
}

const std::vector<FixedList>& FixedLists() {
  static const std::vector<FixedList> lists = [] {
    auto l = [](const char* window, const char* control, const char* section, int first, int last) {
      return FixedList{QString::fromLatin1(window), QString::fromLatin1(control), QString::fromLatin1(section), first,
                       last};
    };
    return std::vector<FixedList>{
        l("CDW", "Combo3", "Time", 1, 4),         l("CDW", "Combo0", "CDType", 1, 8),
        l("CDW", "Combo1", "CDRequest", 1, 3),    l("CDW", "Combo5", "CDFirm", 1, 5),
        l("CF", "Combo2", "Time", 1, 4),          l("CF", "Combo0", "CFLv", 1, 4),
        l("CF", "Combo3", "CFFirm", 1, 2),        l("CF", "Combo4", "CFType", 1, 19),
        l("CFR", "Combo0", "CFRequest", 1, 2),    l("SH", "Combo3", "Time", 1, 4),
        l("SH", "Combo0", "SHType", 1, 5),        l("SH", "Combo1", "SHRequest", 1, 3),
        l("SH", "Combo5", "SHFirm", 1, 2),        l("MV", "Combo0", "MVType", 1, 8),
        l("MV", "Combo3", "MVFirm", 1, 2),        l("MV", "Combo1", "Time", 1, 4),
        l("MVR", "Combo0", "MVRequest", 1, 4),    l("TV", "Combo0", "TVType", 1, 8),
        l("TV", "Combo3", "TVFirm", 1, 4),        l("TV", "Combo1", "Time", 1, 4),
        l("TV", "Combo2", "TVLength", 1, 3),      l("TVR", "Combo0", "TVRequest", 1, 4),
        l("Item", "Combo(2)", "ItemType", 0, 3),  l("Item", "Combo(10)", "ItemRequest", 0, 3),
        l("Item", "Combo(4)", "ItemShop", 0, 5),  l("Star", "Combo3", "StarSex", 0, 1),
        l("Sch", "Combo4", "ScheduleTime", 0, 1),
    };
  }();
  return lists;
}

}  // namespace v3
