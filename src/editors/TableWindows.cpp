#include "editors/TableWindows.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QUndoStack>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "app/FormTexts.h"
#include "app/Messages.h"
#include "app/Texts.h"
#include "app/UiFront.h"
#include "tables/ChoiceLists.h"
#include "text/Language.h"
#include "text/Locale.h"
#include "text/Places.h"
#include "storage/SafeSave.h"

namespace v3 {
namespace {

constexpr int kNumberWidth = 48;
constexpr int kNameWidth = 76;
constexpr int kLevelBoxChars = 3;  // the thresholds run up to 999

// The growth rate beside each of Level's ten bands, and the bands' design
// lower bounds (the default thresholds).
const char* const kGrowthRates[10] = {"1", "0.9", "0.8", "0.75", "0.7", "0.65", "0.6", "0.55", "0.5", "0"};
const char* const kDefaultThresholds[9] = {"330", "400", "480", "600", "700", "760", "860", "900", "999"};

// The line under the buttons: as wide as the window gives it, never wider,
// so a long message (where a save went) cannot widen the window and move the
// buttons. A text too long for it is shortened in its middle; the tool tip
// holds it whole.
class StatusLabel : public QLabel {
 public:
  explicit StatusLabel(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
  }
  void setWholeText(const QString& text) {
    whole_ = text;
    setToolTip(text);
    elide();
  }
  const QString& wholeText() const { return whole_; }
  QSize sizeHint() const override { return {0, fontMetrics().height() + 2 * margin()}; }
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QLabel::resizeEvent(event);
    elide();
  }

 private:
  void elide() { setText(fontMetrics().elidedText(whole_, Qt::ElideMiddle, std::max(0, contentsRect().width()))); }
  QString whole_;
};

}  // namespace

// One edit of one box: the text before and after.
class BoxEditCommand : public QUndoCommand {
 public:
  BoxEditCommand(TableWindow& window, QLineEdit* box, QString before, QString after, const QString& caption)
      : QUndoCommand(caption), window_(window), box_(box), before_(std::move(before)), after_(std::move(after)) {}
  void undo() override { put(before_); }
  void redo() override {
    // The first redo is the user's own typing, already in the box.
    if (first_) {
      first_ = false;
      return;
    }
    put(after_);
  }

 private:
  void put(const QString& text) {
    box_->setText(text);
    window_.committed_[box_] = text;
  }
  TableWindow& window_;
  QLineEdit* box_;
  QString before_, after_;
  bool first_ = true;
};

TableWindow::TableWindow(StandaloneKind kind, const TableWindowOptions& options, QWidget* owner)
    : QDialog(owner),
      table_(kind, options.systemScript),
      programFolder_(options.programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : options.programFolder),
      texts_(options.texts),
      front_(options.front ? options.front : &UiFront::desktop()),
      store_(options.store ? options.store : &FileStore::disk()) {
  const StandaloneInfo& info = table_.info();
  setObjectName(info.window);
  setWindowTitle(info.fileName);
  if (owner) setWindowIcon(owner->windowIcon());
  undo_ = new QUndoStack(this);
  connect(undo_, &QUndoStack::cleanChanged, this, [this](bool clean) { setModified(!clean); });
  auto* undoAction = new QAction(this);
  undoAction->setShortcut(QKeySequence::Undo);
  connect(undoAction, &QAction::triggered, this, &TableWindow::undo);
  auto* redoAction = new QAction(this);
  redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  connect(redoAction, &QAction::triggered, this, &TableWindow::redo);
  addAction(undoAction);
  addAction(redoAction);

  switch (kind) {
    case StandaloneKind::Cons: buildCons(); break;
    case StandaloneKind::Dif: buildDif(); break;
    case StandaloneKind::Level: buildLevel(); break;
    case StandaloneKind::Length: buildLength(); break;
  }

  ApplyFormTexts(this, texts_);
  // The title shows [*] while there are unsaved edits.
  setWindowTitle(windowTitle() + QStringLiteral("[*]"));
  dataFolder_ = ChoiceListDataFolder(programFolder_);
  loadFile();
}

TableWindow::~TableWindow() {
  // Nothing that the children say while they go may reach this window any more.
  undo_->disconnect(this);
  for (QLineEdit* b : std::as_const(boxes_)) {
    b->disconnect(this);
    b->removeEventFilter(this);
  }
}

QLineEdit* TableWindow::addBox(const QString& name, int width) {
  auto* box = new QLineEdit(this);
  box->setObjectName(name);
  box->setFixedWidth(width);
  boxes_.insert(name, box);
  connect(box, &QLineEdit::textEdited, this, [this, box] {
    typedIn_.insert(box);
    setModified(true);
  });
  connect(box, &QLineEdit::editingFinished, this, [this, box] { commitBoxes(box); });
  // The box's own undo would bypass the window's steps.
  box->installEventFilter(this);
  return box;
}

QLabel* TableWindow::addLabel(const QString& name, const QString& text) {
  auto* label = new QLabel(text, this);
  label->setObjectName(name);
  return label;
}

void TableWindow::addButtons(QBoxLayout* layout) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  const struct {
    const char* name;
    const char16_t* text;
  } buttons[] = {{"Cmd_Load", u"读取"}, {"Cmd_Save", u"保存"}, {"Cmd_Exit", u"退出"}};
  for (const auto& b : buttons) {
    auto* button = new QPushButton(QString::fromUtf16(b.text), this);
    button->setObjectName(QLatin1String(b.name));
    // Enter in a box must not read the file again over the user's typing.
    button->setAutoDefault(false);
    row->addWidget(button);
  }
  layout->addLayout(row);
  statusLine_ = new StatusLabel(this);
  statusLine_->setObjectName(QStringLiteral("StatusLine"));
  layout->addWidget(statusLine_);
  connect(button(QStringLiteral("Cmd_Load")), &QPushButton::clicked, this, [this] { loadFile(); });
  connect(button(QStringLiteral("Cmd_Save")), &QPushButton::clicked, this, [this] { saveFile(); });
  connect(button(QStringLiteral("Cmd_Exit")), &QPushButton::clicked, this, &QDialog::reject);
}

void TableWindow::buildCons() {
  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  grid->addWidget(addLabel(QStringLiteral("Lb0"), QStringLiteral("星座")), 0, 0);
  grid->addWidget(addLabel(QStringLiteral("Lb1"), QStringLiteral("开始时间")), 0, 1, 1, 4);
  for (int i = 0; i < 12; ++i) {
    const QString n = QString::number(i);
    grid->addWidget(addBox(QStringLiteral("Text1(%1)").arg(n), kNameWidth), i + 1, 0);
    grid->addWidget(addBox(QStringLiteral("Text2(%1)").arg(n), kNumberWidth), i + 1, 1);
    grid->addWidget(addLabel(QStringLiteral("Lb2(%1)").arg(n), QStringLiteral("月")), i + 1, 2);
    grid->addWidget(addBox(QStringLiteral("Text3(%1)").arg(n), kNumberWidth), i + 1, 3);
    grid->addWidget(addLabel(QStringLiteral("Lb3(%1)").arg(n), QStringLiteral("日")), i + 1, 4);
  }
  outer->addLayout(grid);
  addButtons(outer);
}

void TableWindow::buildDif() {
  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  grid->addWidget(addLabel(QStringLiteral("Lb0"), QStringLiteral("难度")), 0, 0, 2, 1);
  grid->addWidget(addLabel(QStringLiteral("Lb1"), QStringLiteral("能力需求")), 0, 1, 1, 12, Qt::AlignHCenter);
  for (int r = 1; r <= 4; ++r)
    grid->addWidget(addLabel(QStringLiteral("Lb3(%1)").arg(r), QString::number(r)), 1, 1 + 3 * (r - 1), 1, 3,
                    Qt::AlignHCenter);
  for (int d = 1; d <= 5; ++d) {
    grid->addWidget(addLabel(QStringLiteral("Lb2(%1)").arg(d), QString::number(d)), d + 1, 0, Qt::AlignHCenter);
    for (int r = 1; r <= 4; ++r) {
      const int from = 8 * (d - 1) + 2 * (r - 1);
      const int column = 1 + 3 * (r - 1);
      grid->addWidget(addBox(QStringLiteral("Text(%1)").arg(from), kNumberWidth), d + 1, column);
      grid->addWidget(addLabel(QStringLiteral("Lb4(%1)").arg(from / 2), QStringLiteral("-")), d + 1, column + 1);
      grid->addWidget(addBox(QStringLiteral("Text(%1)").arg(from + 1), kNumberWidth), d + 1, column + 2);
    }
  }
  outer->addLayout(grid);
  addButtons(outer);
}

void TableWindow::buildLevel() {
  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  grid->addWidget(addLabel(QStringLiteral("Lb0"), QStringLiteral("能力值")), 0, 0, 1, 3, Qt::AlignHCenter);
  grid->addWidget(addLabel(QStringLiteral("Lb1"), QStringLiteral("成长率")), 0, 3, Qt::AlignHCenter);
  for (int band = 0; band <= 9; ++band) {
    const int row = band + 1;
    if (band == 0)
      grid->addWidget(addLabel(QStringLiteral("Lb2(0)"), QStringLiteral("0")), row, 0, Qt::AlignRight);
    else
      grid->addWidget(addLabel(QStringLiteral("Lb4(%1)").arg(band), QLatin1String(kDefaultThresholds[band - 1])), row,
                      0, Qt::AlignRight);
    grid->addWidget(addLabel(QStringLiteral("Lb5(%1)").arg(band), QStringLiteral("-")), row, 1);
    if (band < 9) {
      QLineEdit* box = addBox(QStringLiteral("Text1(%1)").arg(band), kNumberWidth);
      box->setMaxLength(kLevelBoxChars);
      grid->addWidget(box, row, 2);
    } else {
      grid->addWidget(addLabel(QStringLiteral("Lb2(1)"), QStringLiteral("999")), row, 2);
    }
    grid->addWidget(addLabel(QStringLiteral("Lb3(%1)").arg(band), QLatin1String(kGrowthRates[band])), row, 3,
                    Qt::AlignHCenter);
  }
  // The next band starts where this one ends.
  for (int k = 0; k < 9; ++k) {
    QLabel* next = label(QStringLiteral("Lb4(%1)").arg(k + 1));
    connect(box(QStringLiteral("Text1(%1)").arg(k)), &QLineEdit::textChanged, next, &QLabel::setText);
  }
  // The bands keep their width when the buttons make the window wider.
  auto* centred = new QHBoxLayout;
  centred->addStretch(1);
  centred->addLayout(grid);
  centred->addStretch(1);
  outer->addLayout(centred);
  addButtons(outer);
}

void TableWindow::buildLength() {
  auto* outer = new QVBoxLayout(this);
  auto* groups = new QGridLayout;
  const std::vector<LengthGroup>& all = LengthGroups();
  for (size_t g = 0; g < all.size(); ++g) {
    const LengthGroup& group = all[g];
    auto* frame = new QGroupBox(group.caption, this);
    frame->setObjectName(QStringLiteral("Frame(%1)").arg(g));
    auto* grid = new QGridLayout(frame);
    const int roles = int(group.roles.size());
    for (int role = 0; role < roles; ++role)
      grid->addWidget(addLabel(QStringLiteral("Lb6(%1)").arg(group.first + role), group.roles[role]), 0, 1 + role,
                      Qt::AlignHCenter);
    const struct {
      const char* head;
      const char16_t* headText;
      const char* box;
      QString unit;
      const char16_t* unitText;
    } rows[] = {
        {"Lb3", u"通告期限", "Texta", QStringLiteral("Lb1(%1)").arg(g), u"周"},
        {"Lb4", u"一周工作", "Textb", QStringLiteral("Lb2(%1)").arg(2 * g), u"天"},
        {"Lb5", u"完成需要", "Textc", QStringLiteral("Lb2(%1)").arg(2 * g + 1), u"天"},
    };
    for (int r = 0; r < 3; ++r) {
      grid->addWidget(addLabel(QStringLiteral("%1(%2)").arg(QLatin1String(rows[r].head)).arg(g),
                               QString::fromUtf16(rows[r].headText)),
                      r + 1, 0);
      for (int role = 0; role < roles; ++role)
        grid->addWidget(
            addBox(QStringLiteral("%1(%2)").arg(QLatin1String(rows[r].box)).arg(group.first + role), kNumberWidth),
            r + 1, 1 + role);
      grid->addWidget(addLabel(rows[r].unit, QString::fromUtf16(rows[r].unitText)), r + 1, 1 + roles);
    }
    grid->setColumnStretch(2 + roles, 1);
    groups->addWidget(frame, int(g) / 3, int(g) % 3);
  }

  // The three boxes that set a whole row of every group; they are not stored.
  auto* setAll = new QGridLayout;
  const struct {
    const char* label;
    const char16_t* labelText;
    const char* box;
    const char* target;
    const char* unit;
    const char16_t* unitText;
  } alls[] = {
      {"Lb7", u"通告期限全", "Text1", "Texta", "Lb1(11)", u"周"},
      {"Lb8", u"一周工作全", "Text2", "Textb", "Lb2(22)", u"天"},
      {"Lb9", u"完成需要全", "Text3", "Textc", "Lb2(23)", u"天"},
  };
  for (int r = 0; r < 3; ++r) {
    setAll->addWidget(addLabel(QLatin1String(alls[r].label), QString::fromUtf16(alls[r].labelText)), r, 0);
    QLineEdit* source = addBox(QLatin1String(alls[r].box), kNumberWidth);
    setAll->addWidget(source, r, 1);
    setAll->addWidget(addLabel(QLatin1String(alls[r].unit), QString::fromUtf16(alls[r].unitText)), r, 2);
    const QString target = QLatin1String(alls[r].target);
    connect(source, &QLineEdit::textChanged, this, [this, target](const QString& text) {
      for (int j = 0; j < 36; ++j)
        if (QLineEdit* b = box(QStringLiteral("%1(%2)").arg(target).arg(j))) b->setText(text);
    });
  }
  setAll->setRowStretch(3, 1);
  groups->addLayout(setAll, 3, 2);
  outer->addLayout(groups);
  addButtons(outer);
}

QLineEdit* TableWindow::box(const QString& name) const { return boxes_.value(name); }

QLabel* TableWindow::label(const QString& name) const { return findChild<QLabel*>(name); }

QPushButton* TableWindow::button(const QString& name) const { return findChild<QPushButton*>(name); }

QString TableWindow::text(const QString& simplified) const {
  return msg::Localised(texts_.isNone() ? Script::Simplified : texts_.script(), simplified);
}

void TableWindow::showMessage(const QString& simplified) {
  front_->message(this, text(simplified), UiFront::Icon::Warning);
}

QString TableWindow::statusLine() const { return static_cast<StatusLabel*>(statusLine_)->wholeText(); }

void TableWindow::setStatusLine(const QString& text) { static_cast<StatusLabel*>(statusLine_)->setWholeText(text); }

void TableWindow::setModified(bool modified) {
  modified_ = modified;
  setWindowModified(modified);
}

void TableWindow::commitBoxes(QLineEdit* typed) {
  if (!typed) typed = qobject_cast<QLineEdit*>(focusWidget());
  // Boxes that follow another (Length's set-all boxes fill the records) come
  // first and the box the user typed in last, so that undoing restores the
  // typed box first and each follower's own value after it.
  std::vector<QLineEdit*> changed;
  for (QLineEdit* b : std::as_const(boxes_))
    if (b != typed && b->text() != committed_.value(b)) changed.push_back(b);
  if (typed && boxes_.value(typed->objectName()) == typed && typed->text() != committed_.value(typed))
    changed.push_back(typed);
  // Only the user's typing makes a step; a box set by the program alone
  // (not typed in, not following a typed box) is no change of the user's.
  const bool typedAny = !typedIn_.isEmpty();
  typedIn_.clear();
  if (changed.empty()) return;
  if (!typedAny) {
    for (QLineEdit* b : changed) committed_[b] = b->text();
    return;
  }
  const QString caption = text(QStringLiteral("修改数值"));
  undo_->beginMacro(caption);
  for (QLineEdit* b : changed) {
    undo_->push(new BoxEditCommand(*this, b, committed_.value(b), b->text(), caption));
    committed_[b] = b->text();
  }
  undo_->endMacro();
}

void TableWindow::forgetSteps() {
  // Reading the file starts the history afresh.
  committed_.clear();
  typedIn_.clear();
  for (QLineEdit* b : std::as_const(boxes_)) committed_.insert(b, b->text());
  undo_->clear();
}

void TableWindow::undo() {
  commitBoxes();
  undo_->undo();
}

void TableWindow::redo() {
  commitBoxes();
  undo_->redo();
}

bool TableWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool isUndo = key->matches(QKeySequence::Undo);
    const bool isRedo = key->matches(QKeySequence::Redo) ||
                        key->keyCombination() == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z) ||
                        key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y);
    if (isUndo || isRedo) {
      if (event->type() == QEvent::ShortcutOverride) {
        // Ours, not the box's: the key press comes to this filter.
        event->accept();
        return true;
      }
      isUndo ? undo() : redo();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TableWindow::reject() {
  commitBoxes();
  if (modified_) {
    const int answer =
        front_->ask(this, text(QStringLiteral("%1 有未保存的修改，是否保存？").arg(table_.info().fileName)),
                    {text(QStringLiteral("保存")), text(QStringLiteral("不保存")), text(QStringLiteral("取消"))});
    if (answer == 2) return;
    // A refused or failed save keeps the window open with the user's values.
    if (answer == 0 && !saveFile().ok()) return;
  }
  QDialog::reject();
}

bool TableWindow::loadFile() {
  QString error;
  const bool ok = table_.load(dataFolder_, &error, *store_);
  if (!ok) {
    // Nothing is shown that the file did not give, and a save is refused.
    // (The boxes of stored values are the elements of arrays, "Text1(0)".)
    for (QLineEdit* b : std::as_const(boxes_))
      if (b->objectName().contains(QLatin1Char('('))) b->clear();
    showMessage(QStringLiteral("%1 读取失败：%2").arg(table_.info().fileName, error));
    forgetSteps();
    setModified(false);
    return false;
  }
  for (const TableValue& v : table_.values()) {
    QLineEdit* b = box(v.box);
    if (!b) continue;
    // A file's value longer than the box's usual width is shown whole.
    if (table_.kind() == StandaloneKind::Level) b->setMaxLength(std::max<int>(kLevelBoxChars, int(v.text.size())));
    b->setText(v.text);
  }
  forgetSteps();
  setModified(false);
  setStatusLine(text(QStringLiteral("已读取 %1").arg(table_.info().fileName)));
  return true;
}

StandaloneSave TableWindow::saveFile() {
  commitBoxes();
  for (const TableValue& v : table_.values())
    if (QLineEdit* b = box(v.box)) table_.setText(v.box, b->text());
  SaveFileOptions options;
  options.historyDepth = HistoryDepthSetting(ConfigFolder(programFolder_));
  const StandaloneSave outcome = table_.save(dataFolder_, *store_, options);
  if (!outcome.ok()) {
    setStatusLine(text(QStringLiteral("%1 未保存").arg(table_.info().fileName)));
    showMessage(outcome.message(table_.info().fileName));
    return outcome;
  }
  if (!outcome.notices.isEmpty()) showMessage(outcome.notices.join(u'\n'));
  undo_->setClean();
  setModified(false);
  // Where it went: the data folder of Config.ini, named as it is (only the
  // message's own words follow the interface's script).
  setStatusLine(
      text(QStringLiteral("已保存 %1：%2"))
          .arg(table_.info().fileName, QDir::toNativeSeparators(DataFilePath(dataFolder_, table_.info().fileName))));
  return outcome;
}

std::unique_ptr<TableWindow> MakeTableWindow(const QString& window, const TableWindowOptions& options, QWidget* owner) {
  const StandaloneInfo* info = FindStandalone(window);
  if (!info) return nullptr;
  return std::make_unique<TableWindow>(info->kind, options, owner);
}

}  // namespace v3
