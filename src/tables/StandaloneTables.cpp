#include "tables/StandaloneTables.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>

#include "tables/SampleContext.h"
#include "tables/Slots.h"
#include "text/Big5.h"
#include "text/Convert.h"

namespace v3 {
namespace {

struct Texts {
  Q_DECLARE_TR_FUNCTIONS(Tables)
};

constexpr int kNameField = 12;  // the name's field; the month slot follows it
constexpr int kNameRead = 6;    // three Big5 characters
constexpr int kConsRecords = 12;
constexpr int kConsRecordSize = 20;
constexpr int kDifValues = 40;
constexpr int kLevelValues = 9;
constexpr int kLengthRecords = 36;

// Bytes a value may write at its position.
int writtenWidth(ValueType t) {
  switch (t) {
    case ValueType::Name: return kNameField;
    case ValueType::Byte: return 1;
    case ValueType::Int16: return 2;
    case ValueType::Int32: return 4;
    case ValueType::Slot16: return 2;
  }
  return 0;
}

IntWidth intWidth(ValueType t) {
  switch (t) {
    case ValueType::Byte: return IntWidth::U8;
    case ValueType::Int32: return IntWidth::S32;
    default: return IntWidth::S16;
  }
}

StandaloneSave refused(const TableValue* v, const QString& reason) {
  StandaloneSave s;
  s.status = StandaloneSave::Refused;
  if (v) {
    s.box = v->box;
    s.label = v->label;
  }
  s.reason = reason;
  return s;
}

StandaloneSave notLoaded() { return refused(nullptr, Texts::tr("文件尚未读取，没有可保存的数值")); }

StandaloneSave failed(const QString& reason) {
  StandaloneSave s;
  s.status = StandaloneSave::Failed;
  s.reason = reason;
  return s;
}

// Two values whose written bytes overlap would overwrite each other, and a
// save could not keep both; a Length.tab whose header gives a record size too
// small to hold a record's three values is such a file.
const TableValue* firstOverlap(const std::vector<TableValue>& values) {
  std::vector<const TableValue*> order;
  order.reserve(values.size());
  for (const TableValue& v : values) order.push_back(&v);
  std::stable_sort(order.begin(), order.end(),
                   [](const TableValue* a, const TableValue* b) { return a->position < b->position; });
  for (size_t i = 1; i < order.size(); ++i)
    if (order[i]->position < order[i - 1]->position + writtenWidth(order[i - 1]->type)) return order[i];
  return nullptr;
}

}  // namespace

const std::vector<StandaloneInfo>& StandaloneTables() {
  static const std::vector<StandaloneInfo> t = {
      {StandaloneKind::Cons, QStringLiteral("Cons"), QStringLiteral("Constellation.tab")},
      {StandaloneKind::Dif, QStringLiteral("Dif"), QStringLiteral("Difficulty.tab")},
      {StandaloneKind::Level, QStringLiteral("Level"), QStringLiteral("Level.tab")},
      {StandaloneKind::Length, QStringLiteral("Length"), QStringLiteral("Length.tab")},
  };
  return t;
}

const StandaloneInfo* FindStandalone(const QString& window) {
  for (const StandaloneInfo& i : StandaloneTables())
    if (i.window == window) return &i;
  return nullptr;
}

const StandaloneInfo& StandaloneFor(StandaloneKind kind) {
  for (const StandaloneInfo& i : StandaloneTables())
    if (i.kind == kind) return i;
  return StandaloneTables().front();
}

const std::vector<LengthGroup>& LengthGroups() {
  static const QStringList actors = {QStringLiteral("男主角"), QStringLiteral("女主角"), QStringLiteral("男配角"),
                                     QStringLiteral("女配角")};
  static const QStringList hosts = {QStringLiteral("主持人"), QStringLiteral("助理主持"), QStringLiteral("外景主持")};
  static const std::vector<LengthGroup> g = {
      {QStringLiteral("连续剧"), 0, actors},
      {QStringLiteral("单元剧"), 4, actors},
      {QStringLiteral("短片"), 8, actors},
      {QStringLiteral("电影"), 12, actors},
      {QStringLiteral("唱片"), 16, {QStringLiteral("个人"), QStringLiteral("团体"), QStringLiteral("原声带")}},
      {QStringLiteral("广告"), 19, {QStringLiteral("男性"), QStringLiteral("女性")}},
      {QStringLiteral("知性谈话"), 21, hosts},
      {QStringLiteral("运动竞赛"), 24, hosts},
      {QStringLiteral("歌舞综艺"), 27, hosts},
      {QStringLiteral("采访报导"), 30, hosts},
      {QStringLiteral("益智休闲"), 33, hosts},
  };
  return g;
}

QString StandaloneSave::message(const QString& fileName) const {
  switch (status) {
    case Saved:
    case Unchanged: return QString();
    case Refused:
      if (box.isEmpty()) return Texts::tr("%1 未保存：%2").arg(fileName, reason);
      // The user knows the box by its label, not by the window's inner name for it.
      return Texts::tr("%1 未保存：%2：%3").arg(fileName, label.isEmpty() ? box : label, reason);
    case Failed: return Texts::tr("%1 保存失败：%2").arg(fileName, reason);
  }
  return QString();
}

StandaloneTable::StandaloneTable(StandaloneKind kind, Script systemScript) : kind_(kind), systemScript_(systemScript) {}

void StandaloneTable::clear() {
  values_.clear();
  loaded_ = false;
  recordSize_ = 0;
}

void StandaloneTable::add(const QString& box, const QString& label, ValueType type, qint64 position,
                          const QByteArray& file) {
  const ByteReader in(file);
  TableValue v;
  v.box = box;
  v.label = label;
  v.type = type;
  v.position = position;
  switch (type) {
    case ValueType::Name:
      v.loadedBytes = in.bytes(position, kNameRead);
      v.loadedText = TrimRight(DecodeBig5Text(v.loadedBytes));
      break;
    case ValueType::Byte:
      v.loadedBytes = in.bytes(position, 1);
      v.loadedText = QString::number(in.u8(position));
      break;
    case ValueType::Int16:
      v.loadedBytes = in.bytes(position, 2);
      v.loadedText = QString::number(in.s16(position));
      break;
    case ValueType::Int32:
      v.loadedBytes = in.bytes(position, 4);
      v.loadedText = QString::number(in.s32(position));
      break;
    case ValueType::Slot16:
      v.loadedBytes = in.bytes(position, 2);
      v.loadedText = QString::number(in.s32(position));
      break;
  }
  v.text = v.loadedText;
  values_.push_back(std::move(v));
}

void StandaloneTable::loadBytes(const QByteArray& file) {
  clear();
  const ByteReader in(file);
  switch (kind_) {
    case StandaloneKind::Cons:
      // The header's count and record size (offsets 4 and 8) are read by the
      // game; the layout here is fixed: twelve records of 20 bytes.
      for (int i = 0; i < kConsRecords; ++i) {
        const qint64 at = 12 + qint64(kConsRecordSize) * i;
        const QString n = QString::number(i + 1);
        add(QStringLiteral("Text1(%1)").arg(i), Texts::tr("星座 %1 的名称").arg(n), ValueType::Name, at, file);
        add(QStringLiteral("Text2(%1)").arg(i), Texts::tr("星座 %1 的开始月").arg(n), ValueType::Byte, at + 12, file);
        add(QStringLiteral("Text3(%1)").arg(i), Texts::tr("星座 %1 的开始日").arg(n), ValueType::Byte, at + 16, file);
      }
      break;
    case StandaloneKind::Dif:
      for (int k = 0; k < kDifValues; ++k) {
        const int d = k / 8 + 1, r = (k % 8) / 2 + 1;
        const QString label =
            (k % 2 ? Texts::tr("难度 %1 能力需求 %2 的终点") : Texts::tr("难度 %1 能力需求 %2 的起点")).arg(d).arg(r);
        add(QStringLiteral("Text(%1)").arg(k), label, ValueType::Int16, 12 + 4 * k, file);
      }
      break;
    case StandaloneKind::Level:
      for (int k = 0; k < kLevelValues; ++k)
        add(QStringLiteral("Text1(%1)").arg(k), Texts::tr("能力值 %1").arg(k + 1), ValueType::Int32, 4 * k, file);
      break;
    case StandaloneKind::Length: {
      // The record size is a distance, read without sign.
      recordSize_ = in.u8(8) | (in.u8(9) << 8);
      for (const LengthGroup& g : LengthGroups())
        for (int role = 0; role < g.roles.size(); ++role) {
          const int j = g.first + role;
          const qint64 at = 12 + qint64(j) * recordSize_;
          const QString who = g.caption + QLatin1Char(' ') + g.roles[role];
          add(QStringLiteral("Texta(%1)").arg(j), Texts::tr("%1 的通告期限").arg(who), ValueType::Slot16, at + 24,
              file);
          add(QStringLiteral("Textb(%1)").arg(j), Texts::tr("%1 的一周工作").arg(who), ValueType::Slot16, at + 28,
              file);
          add(QStringLiteral("Textc(%1)").arg(j), Texts::tr("%1 的完成需要").arg(who), ValueType::Slot16, at + 32,
              file);
        }
      break;
    }
  }
  loaded_ = true;
}

bool StandaloneTable::load(const QString& folder, QString* error, FileStore& store) {
  bool exists = false;
  QString readError;
  const QByteArray file = store.read(DataFilePath(folder, info().fileName), &exists, &readError);
  if (exists && !readError.isEmpty()) {
    clear();
    if (error) *error = readError;
    return false;
  }
  loadBytes(file);
  return true;
}

const TableValue* StandaloneTable::value(const QString& box) const {
  for (const TableValue& v : values_)
    if (v.box == box) return &v;
  return nullptr;
}

QString StandaloneTable::text(const QString& box) const {
  const TableValue* v = value(box);
  return v ? v->text : QString();
}

bool StandaloneTable::setText(const QString& box, const QString& text) {
  for (TableValue& v : values_)
    if (v.box == box) {
      v.text = text;
      return true;
    }
  return false;
}

StandaloneSave StandaloneTable::patch(const QByteArray& existing, QByteArray* out, bool* changed) const {
  if (changed) *changed = false;
  if (!loaded_) return notLoaded();
  if (const TableValue* v = firstOverlap(values_)) {
    if (kind_ == StandaloneKind::Length)
      return refused(nullptr,
                     Texts::tr("文件头的记录长度 %1 放不下每条记录的三个数值，数值会互相覆盖").arg(recordSize_));
    return refused(v, Texts::tr("与另一数值的位置重叠"));
  }

  ByteWriter w(existing);
  bool any = false;
  for (const TableValue& v : values_) {
    // An unchanged box writes nothing: its bytes stay as the file holds them.
    if (v.text == v.loadedText) continue;
    any = true;
    if (v.type == ValueType::Name) {
      if (v.text.trimmed().isEmpty()) return refused(&v, Texts::tr("名称为空"));
      if (const qsizetype bad = FirstControlCharacter(v.text, LineBreaks::Refused, v.loadedText); bad >= 0)
        return refused(&v, ControlCharacterProblem(v.text, bad));
      const Big5Encoded name = EncodeBig5Text(v.text, systemScript_);
      if (!name.ok()) return refused(&v, name.problem());
      // The load reads six bytes of the field back.
      if (name.bytes.size() > kNameRead)
        return refused(&v, Texts::tr("名称有 %1 字节，最多 %2 字节").arg(name.bytes.size()).arg(kNameRead));
      // A shorter name is padded with zeros to the bytes the load reads, so
      // that no part of the old name shows behind it.
      // (A file that ends inside the field is not made longer for it.)
      const qsizetype pad =
          std::clamp<qsizetype>(existing.size() - v.position - name.bytes.size(), 0, kNameRead - name.bytes.size());
      w.putBytes(v.position, name.bytes + QByteArray(pad, '\0'));
      continue;
    }
    if (v.text.trimmed().isEmpty()) return refused(&v, Texts::tr("数值为空"));
    int64_t number = 0;
    QString reason;
    if (!CellToInteger(v.text, intWidth(v.type), &number, &reason)) return refused(&v, reason);
    if (v.type == ValueType::Slot16) {
      // Only the slot's first two bytes are written, and the load reads all
      // four: a value the slot would give back as another one is refused.
      const ByteReader in(existing);
      const auto back = int32_t(uint32_t(uint16_t(number)) | (uint32_t(in.u8(v.position + 2)) << 16) |
                                (uint32_t(in.u8(v.position + 3)) << 24));
      if (back != number) return refused(&v, Texts::tr("此格只写入前两个字节，%1 会读作 %2").arg(number).arg(back));
    }
    w.put(v.position, number, intWidth(v.type));
  }
  if (changed) *changed = any;
  *out = w.take();
  return StandaloneSave();
}

StandaloneSave StandaloneTable::save(const QString& folder, FileStore& store, const SaveFileOptions& options) const {
  if (!loaded_) return notLoaded();
  const QString path = DataFilePath(folder, info().fileName);
  bool exists = false;
  QString error;
  const QByteArray current = store.read(path, &exists, &error);
  if (exists && !error.isEmpty()) return failed(Texts::tr("无法读取文件：%1").arg(error));

  QByteArray bytes;
  bool changed = false;
  StandaloneSave outcome = patch(current, &bytes, &changed);
  if (!outcome.ok()) return outcome;
  if (!exists && !changed) {
    outcome.status = StandaloneSave::Unchanged;
    return outcome;
  }
  // The patch is of the bytes just read: the save goes on only while the
  // file is still those.
  FileStamp read;
  read.taken = true;
  read.exists = exists;
  SaveFileOptions o = options;
  if (!o.expected) {
    read = read.withContent(current);
    o.expected = &read;
  }
  const SaveFileResult saved = SaveDataFile(path, bytes, o, store);
  if (!saved.ok()) return failed(saved.error);
  outcome.notices = saved.notices;
  if (!changed && bytes == current) outcome.status = StandaloneSave::Unchanged;
  return outcome;
}

// The sample folder's files: the twelve signs with their start dates, forty
// ability requirements that grow with the difficulty, the default level
// thresholds, and job lengths in records of 40 bytes.
QByteArray StandaloneSampleFile(StandaloneKind kind, SampleContext& s) {
  ByteWriter w;
  switch (kind) {
    case StandaloneKind::Cons: {
      struct Sign {
        const char16_t* name;
        int month, day;
      };
      static const Sign signs[kConsRecords] = {
          {u"牡羊座", 3, 21},  {u"金牛座", 4, 20},  {u"雙子座", 5, 21}, {u"巨蟹座", 6, 22},
          {u"獅子座", 7, 23},  {u"處女座", 8, 23},  {u"天秤座", 9, 23}, {u"天蠍座", 10, 24},
          {u"射手座", 11, 22}, {u"摩羯座", 12, 22}, {u"水瓶座", 1, 20}, {u"雙魚座", 2, 19},
      };
      PutFrameHeader(w, kConsRecords, kConsRecordSize);
      for (int i = 0; i < kConsRecords; ++i) {
        const qint64 at = 12 + qint64(kConsRecordSize) * i;
        w.resize(at + kConsRecordSize);
        w.putBytes(at, EncodeCodePage(QString::fromUtf16(signs[i].name), 950));
        w.put(at + 12, signs[i].month, IntWidth::S32);
        w.put(at + 16, signs[i].day, IntWidth::S32);
      }
      break;
    }
    case StandaloneKind::Dif:
      PutFrameHeader(w, kDifValues, 4);
      for (int k = 0; k < kDifValues; ++k) {
        const int d = k / 8, r = (k % 8) / 2;
        const int from = 60 * d + 50 * r;
        w.put(12 + 4 * k, k % 2 ? from + 80 + 10 * d : from, IntWidth::S32);
      }
      break;
    case StandaloneKind::Level: {
      static const int thresholds[kLevelValues] = {330, 400, 480, 600, 700, 760, 860, 900, 999};
      for (int k = 0; k < kLevelValues; ++k) w.put(4 * k, thresholds[k], IntWidth::S32);
      break;
    }
    case StandaloneKind::Length: {
      constexpr int kRecordSize = 40;
      PutFrameHeader(w, kLengthRecords, kRecordSize);
      int category = 0;
      for (const LengthGroup& g : LengthGroups()) {
        ++category;
        for (int role = 0; role < g.roles.size(); ++role) {
          const int j = g.first + role;
          const qint64 at = 12 + qint64(j) * kRecordSize;
          w.resize(at + kRecordSize);
          w.put(at, j + 1, IntWidth::S32);
          w.put(at + 4, category, IntWidth::S32);
          w.put(at + 8, role + 1, IntWidth::S32);
          w.put(at + 24, s.between(1, 4), IntWidth::S32);
          w.put(at + 28, s.between(1, 5), IntWidth::S32);
          w.put(at + 32, s.between(3, 40), IntWidth::S32);
        }
      }
      break;
    }
  }
  return w.take();
}

bool WriteStandaloneSamples(const QString& folder, SampleContext& s, QString* error) {
  for (const StandaloneInfo& i : StandaloneTables()) {
    QString e;
    if (!FileStore::disk().replace(QDir(folder).filePath(i.fileName), StandaloneSampleFile(i.kind, s), &e)) {
      if (error) *error = QStringLiteral("%1: %2").arg(i.fileName, e);
      return false;
    }
  }
  return true;
}

}  // namespace v3
