#pragma once
#include <QString>
#include <QStringList>

class QWidget;

namespace v3 {

// Everything the shell shows or asks outside its own windows: message
// boxes, the folder picker and documents opened with their own program.
// The desktop front talks to the window system; tests answer instead.
class UiFront {
 public:
  enum class Icon { None, Information, Warning };

  virtual ~UiFront() = default;
  // A message box with only an OK button; returns when the user has closed it.
  virtual void message(QWidget* owner, const QString& text, Icon icon) = 0;
  // A question answered by one of the buttons, whose texts are given; the
  // last one is the answer of Escape and of closing the box. Returns the
  // index of the button chosen.
  virtual int ask(QWidget* owner, const QString& text, const QStringList& buttons) = 0;
  // The folder picker, opened at `start` when it is a folder: the chosen
  // folder as a full path, or empty text on cancel.
  virtual QString chooseFolder(QWidget* owner, const QString& prompt, const QString& start = QString()) = 0;
  // Opens the document with the program the desktop associates with it.
  virtual void openDocument(QWidget* owner, const QString& path) = 0;
  // The file picker, to open an existing file or to name one to write: the
  // chosen file as a full path, or empty text on cancel.
  virtual QString chooseFile(QWidget* owner, const QString& title, const QString& filter, bool forWriting);
  // A question with Yes and No; true for Yes.
  virtual bool ask(QWidget* owner, const QString& question);

  // The front of the running program.
  static UiFront& desktop();
};

// The folder picker's title line: an empty prompt reads "选择目录".
QString FolderPrompt(const QString& prompt);

// The wait cursor over the program while a command reads or writes a table
// (a large one takes a while); a question asked in the middle of the work
// shows the usual cursor (asking()).
class BusyCursor {
 public:
  BusyCursor();
  ~BusyCursor();
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

  // Runs `question` with the usual cursor and returns its answer.
  template <class Question>
  auto asking(Question&& question) {
    struct Pause {
      BusyCursor& busy;
      explicit Pause(BusyCursor& b) : busy(b) { busy.show(false); }
      ~Pause() { busy.show(true); }
    } pause(*this);
    return question();
  }

 private:
  void show(bool busy);
  bool shown_ = false;
};

}  // namespace v3
