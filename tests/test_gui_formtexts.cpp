// Window texts, fixed lists and choice lists applied to windows by object name.
#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "TestSupport.h"
#include "app/FormTexts.h"
#include "text/Big5.h"
#include "app/Texts.h"
#include "text/Language.h"
#include "text/Locale.h"

using namespace v3;
using namespace v3test;

namespace {

template <typename T>
T* Add(QWidget* parent, const QString& name, const QString& text = QString()) {
  auto* w = new T(parent);
  w->setObjectName(name);
  if constexpr (std::is_same_v<T, QGroupBox>)
    w->setTitle(text);
  else if constexpr (!std::is_same_v<T, QComboBox>)
    w->setText(text);
  return w;
}

QComboBox* Combo(QWidget* window, const char* name) { return FindCombo(window, QString::fromLatin1(name)); }

QStringList Entries(QComboBox* combo) {
  QStringList e;
  for (int i = 0; i < combo->count(); ++i) e << combo->itemText(i);
  return e;
}

QByteArray TeamFile(int count) {
  QByteArray f = Header(count, 60);
  for (int k = 0; k < count; ++k) {
    QByteArray r(60, '\0');
    Put(r, 4, EncodeBig5Text(QStringLiteral("T%1").arg(k)).bytes);
    f += r;
  }
  return f;
}

QByteArray StarFile(int count) {  // layout B: the name at record offset 4
  QByteArray f = Header(count, 360);
  for (int k = 0; k < count; ++k) {
    QByteArray r(360, '\0');
    Put(r, 4, EncodeBig5Text(QStringLiteral("S%1").arg(k)).bytes);
    f += r;
  }
  return f;
}

}  // namespace

class FormTextsTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  LanguageFile texts_;

  void languageFile(const QString& utf8) {
    QVERIFY(WriteFile(dir_.filePath("CHT.txt"), EncodeCodePage(utf8, 950)));
    texts_ = LanguageFile(Script::Traditional, dir_.path());
  }

 private slots:

  // Captions by object name; check boxes, text boxes and unnamed controls keep theirs.
  void captions() {
    languageFile(
        "[W]\r\nCaption=視窗\r\nmnu_file=檔案(&F)\r\nmnu_save=儲存\r\nmnu_f1=X\r\nmnu_pop=修改\r\nmnu_del=刪除\r\n"
        "Cmd_OK=確定\r\nLb0=編號\r\nLable=全部修改為\r\nLable(1)=第二個\r\nFrame1=群組\r\nCheck0=X\r\nText0=X\r\n");
    QMainWindow window;
    window.setObjectName("W");
    window.setWindowTitle("design");
    QMenu* file = window.menuBar()->addMenu("file");
    file->setObjectName("mnu_file");
    file->addAction("save")->setObjectName("mnu_save");
    QAction* separator = file->addSeparator();
    separator->setObjectName("mnu_f1");
    auto* popup = new QMenu("pop", &window);  // a context menu, on no menu bar
    popup->setObjectName("mnu_pop");
    popup->addAction("del")->setObjectName("mnu_del");
    auto* form = new QWidget(&window);
    window.setCentralWidget(form);
    auto* frame = Add<QGroupBox>(form, "Frame1", "frame");
    auto* ok = Add<QPushButton>(frame, "Cmd_OK", "ok");
    auto* lb0 = Add<QLabel>(form, "Lb0", "number");
    auto* lable0 = Add<QLabel>(form, "Lable(0)", "all");
    auto* lable1 = Add<QLabel>(form, "Lable(1)", "all");
    auto* other = Add<QLabel>(form, "Lb9", "kept");
    auto* unnamed = Add<QLabel>(form, "", "unnamed");
    auto* check = Add<QCheckBox>(form, "Check0", "check");
    auto* text = Add<QLineEdit>(form, "Text0", "text");

    ApplyFormTexts(&window, texts_);
    QCOMPARE(window.windowTitle(), QStringLiteral("視窗"));
    QCOMPARE(file->title(), QStringLiteral("檔案(&F)"));
    QCOMPARE(file->actions().first()->text(), QStringLiteral("儲存"));
    QVERIFY(separator->isSeparator());
    QCOMPARE(separator->text(), QString());
    QCOMPARE(popup->title(), QStringLiteral("修改"));
    QCOMPARE(popup->actions().first()->text(), QStringLiteral("刪除"));
    QCOMPARE(frame->title(), QStringLiteral("群組"));
    QCOMPARE(ok->text(), QStringLiteral("確定"));
    QCOMPARE(lb0->text(), QStringLiteral("編號"));
    QCOMPARE(lable0->text(), QStringLiteral("全部修改為"));  // the array's entry
    QCOMPARE(lable1->text(), QStringLiteral("第二個"));      // the element's own entry first
    QCOMPARE(other->text(), QStringLiteral("kept"));
    QCOMPARE(unnamed->text(), QStringLiteral("unnamed"));
    QCOMPARE(check->text(), QStringLiteral("check"));
    QCOMPARE(text->text(), QStringLiteral("text"));
  }

  // Fixed lists keep their length whatever the file holds; without a file every caption stays.
  void fixedLists_data() {
    QTest::addColumn<bool>("withFile");
    QTest::newRow("ten CFType keys") << true;
    QTest::newRow("no language file") << false;
  }
  void fixedLists() {
    QFETCH(bool, withFile);
    QString file = "[CF]\r\nCaption=新增\r\n[Time]\r\n1=第一年\r\n2=第二年\r\n3=第三年\r\n4=特殊\r\n[CFType]\r\n";
    for (int k = 1; k <= 10; ++k) file += QStringLiteral("%1=類%1\r\n").arg(k);
    file += "[ItemShop]\r\n5=特殊商店\r\n";
    languageFile(file);
    if (!withFile) texts_ = LanguageFile(Script::Traditional, dir_.filePath("elsewhere"));

    QWidget cf;
    cf.setObjectName("CF");
    cf.setWindowTitle("添加");
    for (const char* name : {"Combo0", "Combo1", "Combo2", "Combo3", "Combo4"}) Add<QComboBox>(&cf, name);
    ApplyFormTexts(&cf, texts_);
    QCOMPARE(cf.windowTitle(), withFile ? QStringLiteral("新增") : QStringLiteral("添加"));
    QCOMPARE(Combo(&cf, "Combo4")->count(), 19);
    QCOMPARE(Combo(&cf, "Combo4")->itemText(9), withFile ? QStringLiteral("類10") : QString());
    QCOMPARE(Combo(&cf, "Combo4")->itemText(18), QString());
    QCOMPARE(Entries(Combo(&cf, "Combo2")),
             withFile ? (QStringList{"第一年", "第二年", "第三年", "特殊"}) : QStringList(4, QString()));
    QCOMPARE(Combo(&cf, "Combo0")->count(), 4);
    QCOMPARE(Combo(&cf, "Combo3")->count(), 2);
    QCOMPARE(Combo(&cf, "Combo1")->count(), 0);  // its entries are the window's own

    QWidget item;
    item.setObjectName("Item");
    for (const char* name : {"Combo(2)", "Combo(4)", "Combo(10)"}) Add<QComboBox>(&item, name);
    ApplyFormTexts(&item, texts_);
    QCOMPARE(Combo(&item, "Combo(2)")->count(), 4);
    QCOMPARE(Combo(&item, "Combo(4)")->count(), 6);
    QCOMPARE(Combo(&item, "Combo(4)")->itemText(5), withFile ? QStringLiteral("特殊商店") : QString());
    QCOMPARE(Combo(&item, "Combo(10)")->count(), 4);
  }

  // Teams then stars in CDW's Combo6; the star list in every element of Firm's and Team's arrays.
  void choiceLists() {
    QTemporaryDir program;
    QVERIFY(WriteFile(program.filePath("Team.dat"), TeamFile(5)));
    QVERIFY(WriteFile(program.filePath("StarRole.dat"), StarFile(80)));

    QWidget cdw;
    cdw.setObjectName("CDW");
    Add<QComboBox>(&cdw, "Combo4");
    QComboBox* artists = Add<QComboBox>(&cdw, "Combo6");
    FillProducerList(&cdw, program.path());
    FillTeamList(&cdw, program.path());
    FillStarList(&cdw, program.path());
    QCOMPARE(Combo(&cdw, "Combo4")->count(), 0);  // no Producer.tab
    QVERIFY(!QFile::exists(program.filePath("Producer.tab")));
    QCOMPARE(artists->count(), 85);
    QCOMPARE(artists->itemText(4), QStringLiteral("T4"));
    QCOMPARE(artists->itemText(5), QStringLiteral("S0"));

    for (const auto& [window, elements] : {std::pair{"Firm", 6}, std::pair{"Team", 4}}) {
      QWidget w;
      w.setObjectName(window);
      for (int i = 0; i < 7; ++i) Add<QComboBox>(&w, QStringLiteral("Combo(%1)").arg(i));
      FillStarList(&w, program.path());
      for (int i = 0; i < 7; ++i)
        QCOMPARE(Combo(&w, QStringLiteral("Combo(%1)").arg(i).toLatin1())->count(), i < elements ? 80 : 0);
    }
  }
};

QTEST_MAIN(FormTextsTest)
#include "test_gui_formtexts.moc"
