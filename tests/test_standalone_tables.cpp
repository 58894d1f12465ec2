// The standalone tables: values read at their positions and written back
// there, every refusal before the file is touched, short and missing files,
// and the back-up copy.
#include <QtTest>

#include "TestSupport.h"
#include "tools/Sample.h"
#include "tables/StandaloneTables.h"
#include "text/Big5.h"
#include "text/Locale.h"

using namespace v3;
using namespace v3test;

Q_DECLARE_METATYPE(v3::StandaloneKind)

namespace {

QByteArray Big5(const char* utf8) { return EncodeBig5Text(QString::fromUtf8(utf8)).bytes; }

// Bytes that are all different from their neighbours, so that a stray write
// anywhere shows; Length.tab's record size goes into its header.
QByteArray Noise(int size, int lengthRecordSize = -1) {
  QByteArray b(size, '\0');
  for (int i = 0; i < size; ++i) b[i] = char((i * 37 + 11) & 0xFF);
  if (lengthRecordSize >= 0) Put(b, 8, Le(lengthRecordSize, 2));
  return b;
}

// A Constellation.tab whose name fields carry bytes beyond the six read.
QByteArray ConsFile() {
  QByteArray f = Header(12, 20);
  for (int i = 0; i < 12; ++i) {
    QByteArray r(20, '\x5a');
    Put(r, 0, Big5("牡羊座") + "ABCDEF");
    Put(r, 12, Le(i + 1, 1) + Hex("717273"));
    Put(r, 16, Le(i + 10, 1) + Hex("818283"));
    f += r;
  }
  return f;
}

QByteArray Replaced(QByteArray bytes, int at, const QByteArray& with) {
  Put(bytes, at, with);
  return bytes;
}

// A store that fails on request and counts what it was asked to do.
class FailingStore : public FileStore {
 public:
  bool failRead = false, failCopy = false, failReplace = false;
  int copies = 0, replaces = 0;
  QByteArray read(const QString& path, bool* exists, QString* error) override {
    if (failRead && QFileInfo::exists(path)) {
      *exists = true;
      if (error) *error = QStringLiteral("拒绝访问");
      return QByteArray();
    }
    return FileStore::read(path, exists, error);
  }
  bool readSame(const QString& path, const QByteArray& expected, bool* exists, bool* same, QString* error) override {
    if (failRead && QFileInfo::exists(path)) {
      *exists = true;
      if (error) *error = QStringLiteral("拒绝访问");
      return false;
    }
    return FileStore::readSame(path, expected, exists, same, error);
  }
  bool backUp(const QString& from, const QByteArray& content, const QString& to, QString* error) override {
    ++copies;
    if (failCopy) {
      if (error) *error = QStringLiteral("磁盘已满");
      return false;
    }
    return FileStore::backUp(from, content, to, error);
  }
  bool replace(const QString& path, const QByteArray& bytes, QString* error) override {
    ++replaces;
    if (failReplace) {
      if (error) *error = QStringLiteral("磁盘已满");
      return false;
    }
    return FileStore::replace(path, bytes, error);
  }
};

}  // namespace

class StandaloneTablesTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  QString path(const QString& file) const { return dir_.filePath(file); }
  static QString fileOf(StandaloneKind k) { return StandaloneFor(k).fileName; }

  // Writes the file, loads it, sets one box and saves.
  StandaloneSave saveWith(StandaloneKind kind, const QByteArray& file, const QString& box, const QString& text,
                          FileStore& store = FileStore::disk()) {
    WriteFile(path(fileOf(kind)), file);
    StandaloneTable t(kind, Script::Traditional);
    if (!t.load(dir_.path())) return StandaloneSave{StandaloneSave::Failed, {}, {}, "load", {}};
    if (!t.setText(box, text)) return StandaloneSave{StandaloneSave::Failed, {}, {}, "no box " + box, {}};
    return t.save(dir_.path(), store);
  }

 private slots:
  void init() {
    for (const QString& f : QDir(dir_.path()).entryList(QDir::Files)) QFile::remove(path(f));
  }

  void loadsAtPositions_data() {
    QTest::addColumn<StandaloneKind>("kind");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("position");
    const QByteArray cons = ConsFile();
    QTest::newRow("sign name: six bytes of the field") << StandaloneKind::Cons << cons << "Text1(0)"
                                                       << "牡羊座" << 12LL;
    QTest::newRow("sign month: first byte only") << StandaloneKind::Cons << cons << "Text2(1)"
                                                 << "2" << 44LL;
    QTest::newRow("sign day of the last record") << StandaloneKind::Cons << cons << "Text3(11)"
                                                 << "21" << 248LL;
    QTest::newRow("short name, blanks trimmed")
        << StandaloneKind::Cons << Replaced(cons, 12, Big5("蛇") + QByteArray("  \0\0", 4)) << "Text1(0)"
        << "蛇" << 12LL;
    QByteArray dif = Header(40, 4);
    for (int k = 0; k < 40; ++k) dif += Le(10 * k, 2) + Hex("3412");
    QTest::newRow("difficulty: 16 bits of the slot") << StandaloneKind::Dif << dif << "Text(7)"
                                                     << "70" << 40LL;
    QTest::newRow("difficulty: signed") << StandaloneKind::Dif << Replaced(dif, 168, Hex("ffff")) << "Text(39)"
                                        << "-1" << 168LL;
    QByteArray level;
    for (int k = 0; k < 9; ++k) level += Le(k == 8 ? -5 : 100 * k, 4);
    QTest::newRow("level: 32 bits, no header") << StandaloneKind::Level << level << "Text1(2)"
                                               << "200" << 8LL;
    QTest::newRow("level: signed") << StandaloneKind::Level << level << "Text1(8)"
                                   << "-5" << 32LL;
    QTest::newRow("length, record size 48: record 1 period")
        << StandaloneKind::Length << Replaced(Noise(2000, 48), 84, Le(4, 4)) << "Texta(1)"
        << "4" << 84LL;
    QTest::newRow("length, record size 48: record 1 work days")
        << StandaloneKind::Length << Replaced(Noise(2000, 48), 88, Le(5, 4)) << "Textb(1)"
        << "5" << 88LL;
    QTest::newRow("length, record size 48: record 1 days needed")
        << StandaloneKind::Length << Replaced(Noise(2000, 48), 92, Le(70000, 4)) << "Textc(1)"
        << "70000" << 92LL;
    QTest::newRow("length: last record") << StandaloneKind::Length << Replaced(Noise(2000, 40), 1444, Le(-3, 4))
                                         << "Textc(35)"
                                         << "-3" << 1444LL;
    QTest::newRow("length: record size has no sign")
        << StandaloneKind::Length << Replaced(Header(36, 0), 8, Hex("0080")) << "Texta(1)"
        << "0" << 12LL + 32768 + 24;
  }
  void loadsAtPositions() {
    QFETCH(StandaloneKind, kind);
    QFETCH(QByteArray, file);
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(qint64, position);
    StandaloneTable t(kind, Script::Traditional);
    t.loadBytes(file);
    const TableValue* v = t.value(box);
    QVERIFY(v);
    QCOMPARE(v->text, text);
    QCOMPARE(v->position, position);
  }

  void loadsEveryValue_data() {
    QTest::addColumn<StandaloneKind>("kind");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("Cons") << StandaloneKind::Cons << 36 << "Text1(0)"
                          << "Text3(11)";
    QTest::newRow("Dif") << StandaloneKind::Dif << 40 << "Text(0)"
                         << "Text(39)";
    QTest::newRow("Level") << StandaloneKind::Level << 9 << "Text1(0)"
                           << "Text1(8)";
    QTest::newRow("Length") << StandaloneKind::Length << 108 << "Texta(0)"
                            << "Textc(35)";
  }
  void loadsEveryValue() {
    QFETCH(StandaloneKind, kind);
    QFETCH(int, count);
    QFETCH(QString, first);
    QFETCH(QString, last);
    StandaloneTable t(kind, Script::Traditional);
    t.loadBytes(Noise(1600, 40));
    QCOMPARE(int(t.values().size()), count);
    QCOMPARE(t.values().front().box, first);
    QCOMPARE(t.values().back().box, last);
  }

  // One changed box writes its bytes at its position and nothing else.
  void writesOnlyItsBytes_data() {
    QTest::addColumn<StandaloneKind>("kind");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("at");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray noise = Noise(2000, 40);
    QTest::newRow("level third box 450") << StandaloneKind::Level << Noise(36) << "Text1(2)"
                                         << "450" << 8 << Le(450, 4);
    QTest::newRow("level lowest 32-bit") << StandaloneKind::Level << Noise(36) << "Text1(8)"
                                         << "-2147483648" << 32 << Le(-2147483648LL, 4);
    QTest::newRow("level, fraction rounds to even") << StandaloneKind::Level << Noise(36) << "Text1(0)"
                                                    << "2.5" << 0 << Le(2, 4);
    QTest::newRow("difficulty: two bytes of the slot") << StandaloneKind::Dif << Noise(172) << "Text(5)"
                                                       << "-2" << 32 << Le(-2, 2);
    QTest::newRow("difficulty highest") << StandaloneKind::Dif << Noise(172) << "Text(39)"
                                        << "32767" << 168 << Le(32767, 2);
    QTest::newRow("sign month 255") << StandaloneKind::Cons << ConsFile() << "Text2(3)"
                                    << "255" << 84 << Hex("ff");
    QTest::newRow("sign day 0") << StandaloneKind::Cons << ConsFile() << "Text3(0)"
                                << "0" << 28 << Hex("00");
    QTest::newRow("sign name, six bytes") << StandaloneKind::Cons << ConsFile() << "Text1(2)"
                                          << "雙魚座" << 52 << Big5("雙魚座");
    QTest::newRow("short name padded with zeros to six bytes") << StandaloneKind::Cons << ConsFile() << "Text1(0)"
                                                               << "魚" << 12 << Big5("魚") + QByteArray(4, '\0');
    // A length slot is written in its first two bytes; the other two, which
    // the load reads too, already hold what makes the value read back.
    QTest::newRow("length record 1 at 84 (size 48)")
        << StandaloneKind::Length << Replaced(Noise(2000, 48), 86, Hex("0000")) << "Texta(1)"
        << "7" << 84 << Le(7, 2);
    QTest::newRow("length record 1 at 88 (size 48)")
        << StandaloneKind::Length << Replaced(Noise(2000, 48), 90, Hex("ffff")) << "Textb(1)"
        << "-7" << 88 << Le(-7, 2);
    QTest::newRow("length record 1 at 92 (size 48)")
        << StandaloneKind::Length << Replaced(Noise(2000, 48), 94, Hex("0000")) << "Textc(1)"
        << "32767" << 92 << Le(32767, 2);
    QTest::newRow("length last record") << StandaloneKind::Length << Replaced(noise, 1446, Hex("0000")) << "Textc(35)"
                                        << "12" << 1444 << Le(12, 2);
  }
  void writesOnlyItsBytes() {
    QFETCH(StandaloneKind, kind);
    QFETCH(QByteArray, file);
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(int, at);
    QFETCH(QByteArray, bytes);
    const StandaloneSave out = saveWith(kind, file, box, text);
    QVERIFY2(out.status == StandaloneSave::Saved, qPrintable(out.message(fileOf(kind))));
    QCOMPARE(ReadFile(path(fileOf(kind))), Replaced(file, at, bytes));
    QCOMPARE(ReadFile(path(fileOf(kind) + ".bak")), file);
  }

  void aShortNameReadsBackAsItself() {
    QVERIFY(saveWith(StandaloneKind::Cons, ConsFile(), "Text1(0)", "魚").ok());
    StandaloneTable t(StandaloneKind::Cons, Script::Traditional);
    QVERIFY(t.load(dir_.path()));
    QCOMPARE(t.text("Text1(0)"), QString("魚"));
  }

  // Every box that cannot be stored refuses the save, names the box, and
  // leaves both the file and its old back-up copy as they were.
  void refusalsTouchNothing_data() {
    QTest::addColumn<StandaloneKind>("kind");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty number") << StandaloneKind::Level << Noise(36) << "Text1(4)"
                                  << ""
                                  << "为空";
    QTest::newRow("blank number") << StandaloneKind::Dif << Noise(172) << "Text(0)"
                                  << "  "
                                  << "为空";
    QTest::newRow("not a number") << StandaloneKind::Dif << Noise(172) << "Text(3)"
                                  << "abc"
                                  << "不是数字";
    QTest::newRow("month 256") << StandaloneKind::Cons << ConsFile() << "Text2(0)"
                               << "256"
                               << "超出范围";
    QTest::newRow("day -1") << StandaloneKind::Cons << ConsFile() << "Text3(5)"
                            << "-1"
                            << "超出范围";
    QTest::newRow("difficulty 32768") << StandaloneKind::Dif << Noise(172) << "Text(9)"
                                      << "32768"
                                      << "超出范围";
    QTest::newRow("difficulty -32769") << StandaloneKind::Dif << Noise(172) << "Text(9)"
                                       << "-32769"
                                       << "超出范围";
    QTest::newRow("level beyond 32 bits") << StandaloneKind::Level << Noise(36) << "Text1(0)"
                                          << "2147483648"
                                          << "超出范围";
    // (The first length slot takes the valid change: its unwritten bytes are zero.)
    const QByteArray length40 = Replaced(Noise(2000, 40), 38, Hex("0000"));
    const QByteArray length48 = Replaced(Noise(2000, 48), 38, Hex("0000"));
    QTest::newRow("length 40000") << StandaloneKind::Length << length40 << "Textb(20)"
                                  << "40000"
                                  << "超出范围";
    // The two bytes of a length slot that are not written would make the
    // value read back as another.
    QTest::newRow("length over other upper bytes") << StandaloneKind::Length << length48 << "Texta(1)"
                                                   << "7"
                                                   << "7 会读作";
    QTest::newRow("negative length over zero upper bytes")
        << StandaloneKind::Length << Replaced(length48, 86, Hex("0000")) << "Texta(1)"
        << "-1"
        << "-1 会读作 65535";
    QTest::newRow("empty name") << StandaloneKind::Cons << ConsFile() << "Text1(3)"
                                << ""
                                << "名称为空";
    // The load reads six bytes of a name back: a longer one would come back cut.
    QTest::newRow("name longer than the six bytes read") << StandaloneKind::Cons << ConsFile() << "Text1(1)"
                                                         << "白羊星座"
                                                         << "8 字节";
    QTest::newRow("name into the month slot") << StandaloneKind::Cons << ConsFile() << "Text1(3)"
                                              << "一二三四五六七"
                                              << "14 字节";
    QTest::newRow("long ASCII name") << StandaloneKind::Cons << ConsFile() << "Text1(0)"
                                     << "Capricornus-1"
                                     << "13 字节";
    QTest::newRow("Simplified name on a Traditional system") << StandaloneKind::Cons << ConsFile() << "Text1(2)"
                                                             << "双子"
                                                             << "“双” 无法以 Big5 保存";
    QTest::newRow("emoji in a name") << StandaloneKind::Cons << ConsFile() << "Text1(2)"
                                     << "A😀"
                                     << "“😀” 无法以 Big5 保存";
  }
  void refusalsTouchNothing() {
    QFETCH(StandaloneKind, kind);
    QFETCH(QByteArray, file);
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, reason);
    const QByteArray oldBackup = "older copy";
    WriteFile(path(fileOf(kind) + ".bak"), oldBackup);
    WriteFile(path(fileOf(kind)), file);
    StandaloneTable t(kind, Script::Traditional);
    QVERIFY(t.load(dir_.path()));
    // A valid change before the bad box must not reach the file either.
    QVERIFY(t.setText(t.values().front().box, t.values().front().type == ValueType::Name ? "蛇" : "1"));
    QVERIFY(t.setText(box, text));
    FailingStore store;
    const StandaloneSave out = t.save(dir_.path(), store);
    QCOMPARE(out.status, StandaloneSave::Refused);
    QCOMPARE(out.box, box);
    QVERIFY2(out.reason.contains(reason), qPrintable(out.reason));
    QVERIFY(out.message(fileOf(kind)).contains(out.label));
    QVERIFY(!out.message(fileOf(kind)).contains(box));
    QCOMPARE(store.copies + store.replaces, 0);
    QCOMPARE(ReadFile(path(fileOf(kind))), file);
    QCOMPARE(ReadFile(path(fileOf(kind) + ".bak")), oldBackup);
  }

  void noSaveWithoutALoad() {
    WriteFile(path("Level.tab"), Noise(36));
    StandaloneTable t(StandaloneKind::Level, Script::Traditional);
    FailingStore store;
    StandaloneSave out = t.save(dir_.path(), store);
    QCOMPARE(out.status, StandaloneSave::Refused);
    QVERIFY(!out.message("Level.tab").isEmpty());
    // A file that exists but cannot be read loads nothing, and the save stays refused.
    store.failRead = true;
    QString error;
    QVERIFY(!t.load(dir_.path(), &error, store));
    QVERIFY(!error.isEmpty());
    QVERIFY(t.values().empty());
    out = t.save(dir_.path(), store);
    QCOMPARE(out.status, StandaloneSave::Refused);
    QCOMPARE(store.copies + store.replaces, 0);
    QCOMPARE(ReadFile(path("Level.tab")), Noise(36));
    QVERIFY(!QFileInfo::exists(path("Level.tab.bak")));
  }

  void aFailingStoreLeavesTheFile_data() {
    QTest::addColumn<bool>("failCopy");
    QTest::addColumn<bool>("failReplace");
    QTest::addColumn<bool>("failRead");
    QTest::newRow("back-up copy fails") << true << false << false;
    QTest::newRow("replacing fails") << false << true << false;
    QTest::newRow("reading again fails") << false << false << true;
  }
  void aFailingStoreLeavesTheFile() {
    QFETCH(bool, failCopy);
    QFETCH(bool, failReplace);
    QFETCH(bool, failRead);
    const QByteArray file = Replaced(Noise(2000, 40), 38, Hex("0000"));  // a slot 9 reads back from
    WriteFile(path("Length.tab"), file);
    StandaloneTable t(StandaloneKind::Length, Script::Traditional);
    QVERIFY(t.load(dir_.path()));
    QVERIFY(t.setText("Texta(0)", "9"));
    FailingStore store;
    store.failCopy = failCopy;
    store.failReplace = failReplace;
    store.failRead = failRead;
    const StandaloneSave out = t.save(dir_.path(), store);
    QCOMPARE(out.status, StandaloneSave::Failed);
    QVERIFY(out.message("Length.tab").contains("保存失败"));
    QCOMPARE(ReadFile(path("Length.tab")), file);
    if (failCopy || failRead) QCOMPARE(store.replaces, 0);
    if (failRead) QCOMPARE(store.copies, 0);
  }

  // A record size too small for a record's three values would make values
  // overwrite each other: the save is refused.
  void overlappingRecordsAreRefused_data() {
    QTest::addColumn<int>("recordSize");
    QTest::addColumn<bool>("refused");
    QTest::newRow("0") << 0 << true;
    QTest::newRow("4") << 4 << true;
    QTest::newRow("8") << 8 << true;
    QTest::newRow("12: the values touch") << 12 << false;
    QTest::newRow("36") << 36 << false;
  }
  void overlappingRecordsAreRefused() {
    QFETCH(int, recordSize);
    QFETCH(bool, refused);
    const QByteArray file = Replaced(Noise(1600, recordSize), 38, Hex("0000"));
    const StandaloneSave out = saveWith(StandaloneKind::Length, file, "Texta(0)", "3");
    QCOMPARE(out.status == StandaloneSave::Refused, refused);
    if (refused) {
      QVERIFY(out.message("Length.tab").contains(QString::number(recordSize)));
      QCOMPARE(ReadFile(path("Length.tab")), file);
      QVERIFY(!QFileInfo::exists(path("Length.tab.bak")));
    } else {
      QCOMPARE(ReadFile(path("Length.tab")), Replaced(file, 36, Le(3, 2)));
    }
  }

  void aMissingFileIsNotCreated_data() {
    QTest::addColumn<StandaloneKind>("kind");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("Cons") << StandaloneKind::Cons << "Text1(0)"
                          << "蛇" << QByteArray(12, '\0') + Big5("蛇");
    QTest::newRow("Dif") << StandaloneKind::Dif << "Text(1)"
                         << "5" << QByteArray(16, '\0') + Le(5, 2);
    QTest::newRow("Level") << StandaloneKind::Level << "Text1(0)"
                           << "330" << Le(330, 4);
  }
  void aMissingFileIsNotCreated() {
    QFETCH(StandaloneKind, kind);
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QByteArray, written);
    StandaloneTable t(kind, Script::Traditional);
    QVERIFY(t.load(dir_.path()));
    for (const TableValue& v : t.values()) QCOMPARE(v.text, v.type == ValueType::Name ? QString() : QString("0"));
    QVERIFY(!QFileInfo::exists(path(fileOf(kind))));
    // A save that changes nothing leaves it missing.
    QCOMPARE(t.save(dir_.path()).status, StandaloneSave::Unchanged);
    QVERIFY(!QFileInfo::exists(path(fileOf(kind))));
    // A changed box writes the file, only as long as that value needs.
    QVERIFY(t.setText(box, text));
    QVERIFY(t.save(dir_.path()).ok());
    QCOMPARE(ReadFile(path(fileOf(kind))), written);
    QVERIFY(!QFileInfo::exists(path(fileOf(kind) + ".bak")));
  }

  void aMissingLengthFileHasNoRecordSize() {
    StandaloneTable t(StandaloneKind::Length, Script::Traditional);
    QVERIFY(t.load(dir_.path()));
    QCOMPARE(t.recordSize(), 0);
    QVERIFY(t.setText("Texta(3)", "2"));
    QCOMPARE(t.save(dir_.path()).status, StandaloneSave::Refused);
    QVERIFY(!QFileInfo::exists(path("Length.tab")));
  }

  void aShortFileGrowsOnlyAsFarAsNeeded_data() {
    QTest::addColumn<StandaloneKind>("kind");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("level value past the end") << StandaloneKind::Level << Noise(6) << "Text1(3)"
                                              << "-1" << Noise(6) + QByteArray(6, '\0') + Hex("ffffffff");
    QTest::newRow("level value straddling the end") << StandaloneKind::Level << Noise(6) << "Text1(1)"
                                                    << "1" << Noise(4) + Le(1, 4);
    QTest::newRow("value inside a short file") << StandaloneKind::Level << Noise(6) << "Text1(0)"
                                               << "2" << Le(2, 4) + Noise(6).mid(4);
    QTest::newRow("difficulty: only the two bytes written") << StandaloneKind::Dif << Noise(14) << "Text(1)"
                                                            << "3" << Noise(14) + QByteArray(2, '\0') + Le(3, 2);
    QTest::newRow("length header only, record size 40") << StandaloneKind::Length << Header(36, 40) << "Textb(0)"
                                                        << "5" << Header(36, 40) + QByteArray(28, '\0') + Le(5, 2);
    QTest::newRow("sign month past the end") << StandaloneKind::Cons << Header(12, 20) << "Text2(0)"
                                             << "3" << Header(12, 20) + QByteArray(12, '\0') + Le(3, 1);
  }
  void aShortFileGrowsOnlyAsFarAsNeeded() {
    QFETCH(StandaloneKind, kind);
    QFETCH(QByteArray, file);
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    const StandaloneSave out = saveWith(kind, file, box, text);
    QVERIFY2(out.ok(), qPrintable(out.message(fileOf(kind))));
    QCOMPARE(ReadFile(path(fileOf(kind))), expected);
    QCOMPARE(ReadFile(path(fileOf(kind) + ".bak")), file);
  }

  // A save that changes nothing gives the same bytes, also where the file
  // holds what a box cannot write back as read: bytes that are no Big5 text,
  // 32-bit values in 16-bit slots, short files.
  void unchangedSavesGiveTheSameBytes_data() {
    QTest::addColumn<StandaloneKind>("kind");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("Cons noise") << StandaloneKind::Cons << Noise(252);
    QTest::newRow("Cons half a character") << StandaloneKind::Cons << Replaced(ConsFile(), 12, "A" + Big5("牡羊座"));
    QTest::newRow("Dif noise") << StandaloneKind::Dif << Noise(172);
    QTest::newRow("Level noise") << StandaloneKind::Level << Noise(36);
    QTest::newRow("Length noise, size 40") << StandaloneKind::Length << Noise(1452, 40);
    QTest::newRow("Length 32-bit values") << StandaloneKind::Length << Replaced(Noise(1452, 40), 36, Le(70000, 4));
    QTest::newRow("Length short") << StandaloneKind::Length << Noise(100, 40);
    QTest::newRow("Cons short") << StandaloneKind::Cons << Noise(30);
    QTest::newRow("empty file") << StandaloneKind::Level << QByteArray();
    SampleContext s(5, 10);
    for (const StandaloneInfo& i : StandaloneTables())
      QTest::newRow(qPrintable("sample " + i.fileName)) << i.kind << StandaloneSampleFile(i.kind, s);
  }
  void unchangedSavesGiveTheSameBytes() {
    QFETCH(StandaloneKind, kind);
    QFETCH(QByteArray, file);
    WriteFile(path(fileOf(kind)), file);
    StandaloneTable t(kind, Script::Traditional);
    QVERIFY(t.load(dir_.path()));
    const StandaloneSave out = t.save(dir_.path());
    QVERIFY2(out.ok(), qPrintable(out.message(fileOf(kind))));
    QCOMPARE(ReadFile(path(fileOf(kind))), file);
    QCOMPARE(ReadFile(path(fileOf(kind) + ".bak")), file);
  }

  void reloadingReplacesPositions() {
    WriteFile(path("Length.tab"), Noise(2000, 40));
    StandaloneTable t(StandaloneKind::Length, Script::Traditional);
    QVERIFY(t.load(dir_.path()));
    QCOMPARE(t.value("Texta(1)")->position, 76);
    QVERIFY(t.setText("Texta(1)", "1"));
    WriteFile(path("Length.tab"), Noise(2000, 48));
    QVERIFY(t.load(dir_.path()));
    QCOMPARE(t.value("Texta(1)")->position, 84);
    QCOMPARE(t.text("Texta(1)"), t.value("Texta(1)")->loadedText);
  }

  void sampleFolderHoldsTheFourFiles() {
    QString error;
    QVERIFY2(WriteSampleFolder(dir_.path(), 3, 5, &error), qPrintable(error));
    StandaloneTable cons(StandaloneKind::Cons, Script::Traditional);
    QVERIFY(cons.load(dir_.path()));
    QCOMPARE(cons.text("Text1(0)"), QString("牡羊座"));
    QCOMPARE(cons.text("Text2(0)"), QString("3"));
    QCOMPARE(cons.text("Text3(0)"), QString("21"));
    for (int i = 0; i < 12; ++i) {
      QCOMPARE(EncodedByteLength(cons.text(QString("Text1(%1)").arg(i))), 6);
      const int month = cons.text(QString("Text2(%1)").arg(i)).toInt();
      QVERIFY(month >= 1 && month <= 12);
    }
    StandaloneTable level(StandaloneKind::Level, Script::Traditional);
    QVERIFY(level.load(dir_.path()));
    QCOMPARE(level.text("Text1(0)"), QString("330"));
    QCOMPARE(level.text("Text1(8)"), QString("999"));
    for (int k = 1; k < 9; ++k)
      QVERIFY(level.text(QString("Text1(%1)").arg(k)).toInt() > level.text(QString("Text1(%1)").arg(k - 1)).toInt());
    StandaloneTable dif(StandaloneKind::Dif, Script::Traditional);
    QVERIFY(dif.load(dir_.path()));
    for (int k = 0; k < 40; k += 2)
      QVERIFY(dif.text(QString("Text(%1)").arg(k)).toInt() < dif.text(QString("Text(%1)").arg(k + 1)).toInt());
    StandaloneTable length(StandaloneKind::Length, Script::Traditional);
    QVERIFY(length.load(dir_.path()));
    QVERIFY(length.recordSize() >= 36);
    QCOMPARE(ReadFile(path("Length.tab")).size(), 12 + 36 * length.recordSize());
    for (int j = 0; j < 36; ++j) QVERIFY(length.text(QString("Textc(%1)").arg(j)).toInt() > 0);
    QVERIFY(!QFileInfo::exists(path("Length.tab.bak")));
  }
};

QTEST_GUILESS_MAIN(StandaloneTablesTest)
#include "test_standalone_tables.moc"
