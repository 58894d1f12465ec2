#include "app/WelcomePage.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Messages.h"
#include "app/StartUp.h"
#include "app/UiFront.h"
#include "tools/Sample.h"

namespace v3 {
namespace {

// A sample holds enough records to try every command, and is the same every time.
constexpr unsigned kSampleSeed = 1;
constexpr int kSampleRecords = 20;

}  // namespace

WelcomePage::WelcomePage(const QString& programFolder, Script script, UiFront& front, QWidget* owner)
    : QDialog(owner), script_(script), front_(front) {
  setObjectName(QStringLiteral("Welcome"));
  setWindowTitle(QStringLiteral("Vantaro3DataEditer"));
  if (owner) setWindowIcon(owner->windowIcon());
  auto* outer = new QVBoxLayout(this);

  auto* title = new QLabel(text(QStringLiteral("欢迎使用 Vantaro3DataEditer")), this);
  QFont bigger = title->font();
  bigger.setBold(true);
  bigger.setPointSizeF(bigger.pointSizeF() * 1.3);
  title->setFont(bigger);
  outer->addWidget(title);
  auto* what = new QLabel(text(QStringLiteral("请选择游戏的数据文件夹：就是存放 CDCase.dat、StarRole.dat、Team.dat "
                                              "等数据表的 Data 文件夹，通常在游戏的安装文件夹中。程序会记住它，"
                                              "以后启动不再询问。")),
                          this);
  what->setObjectName(QStringLiteral("LbWhat"));
  what->setWordWrap(true);
  outer->addWidget(what);

  auto* choose = new QPushButton(text(QStringLiteral("选择游戏的 Data 文件夹…")), this);
  choose->setObjectName(QStringLiteral("CmdChoose"));
  auto* sample = new QPushButton(text(QStringLiteral("创建示例数据文件夹…")), this);
  sample->setObjectName(QStringLiteral("CmdSample"));
  sample->setToolTip(text(QStringLiteral("写入一个编造了记录的完整数据文件夹并打开它，不用游戏也能试用每个命令")));
  auto* quit = new QPushButton(text(QStringLiteral("退出")), this);
  quit->setObjectName(QStringLiteral("CmdQuit"));
  choose->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(choose);
  buttons->addWidget(sample);
  buttons->addStretch(1);
  buttons->addWidget(quit);
  outer->addLayout(buttons);
  connect(choose, &QPushButton::clicked, this, &WelcomePage::chooseFolder);
  connect(sample, &QPushButton::clicked, this, &WelcomePage::createSample);
  connect(quit, &QPushButton::clicked, this, &QDialog::reject);

  // The folders opened before, when Config.ini still knows them.
  const QStringList recent = RecentDataFolders(programFolder);
  if (!recent.isEmpty()) {
    auto* heading = new QLabel(text(QStringLiteral("最近使用的数据文件夹（单击或按 Enter 打开）：")), this);
    outer->addWidget(heading);
    recent_ = new QListWidget(this);
    recent_->setObjectName(QStringLiteral("RecentFolders"));
    for (const QString& f : recent) recent_->addItem(QDir::toNativeSeparators(f));
    recent_->setMaximumHeight(recent_->sizeHintForRow(0) * (kRecentFolderCount + 1));
    outer->addWidget(recent_);
    auto open = [this, recent](QListWidgetItem* item) { useFolder(recent.value(recent_->row(item))); };
    connect(recent_, &QListWidget::itemClicked, this, open);
    connect(recent_, &QListWidget::itemActivated, this, open);
  }
  outer->addStretch(1);
  setMinimumWidth(fontMetrics().horizontalAdvance(QString(36, QChar(0x6587))));
  choose->setFocus();
}

QString WelcomePage::text(const QString& simplified) const { return msg::Localised(script_, simplified); }

void WelcomePage::chooseFolder() {
  const QString folder = front_.chooseFolder(this, msg::ChooseFolder(script_));
  // A cancelled picker leaves the page as it was.
  if (!folder.isEmpty()) useFolder(folder);
}

QString WelcomePage::NewSampleFolder(const QString& parent) {
  const QDir dir(parent);
  QString name = dir.filePath(QStringLiteral("Vantaro3Sample"));
  for (int n = 2; QFileInfo::exists(name); ++n) name = dir.filePath(QStringLiteral("Vantaro3Sample-%1").arg(n));
  return name;
}

void WelcomePage::createSample() {
  const QString parent = front_.chooseFolder(this, text(QStringLiteral("选择示例数据文件夹的存放位置")));
  if (parent.isEmpty()) return;
  // Always a new folder: a sample never replaces anyone's files.
  const QString folder = NewSampleFolder(parent);
  QString error;
  if (!QDir().mkpath(folder) || !WriteSampleFolder(folder, kSampleSeed, kSampleRecords, &error)) {
    front_.message(this,
                   text(QStringLiteral("无法创建示例数据文件夹“%1”：%2")
                            .arg(QDir::toNativeSeparators(folder),
                                 error.isEmpty() ? text(QStringLiteral("无法创建文件夹")) : error)),
                   UiFront::Icon::Warning);
    return;
  }
  useFolder(folder);
}

void WelcomePage::useFolder(const QString& folder) {
  if (!IsDataFolder(folder)) {
    // Which file was looked for, and what the folder is; then the user chooses again.
    front_.message(this,
                   text(QStringLiteral("“%1”不是游戏的数据文件夹：其中没有 %2。\n数据文件夹是存放 CDCase.dat、"
                                       "StarRole.dat 等数据表的文件夹，请重新选择。")
                            .arg(QDir::toNativeSeparators(folder), QString::fromUtf16(kProbeFileName))),
                   UiFront::Icon::None);
    return;
  }
  folder_ = folder;
  accept();
}

}  // namespace v3
