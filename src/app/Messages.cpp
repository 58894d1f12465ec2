#include "app/Messages.h"

#include "text/Big5.h"

namespace v3::msg {
namespace {
bool Traditional(Script script) { return script == Script::Traditional; }

// Words that the character mapping leaves in their mainland form, with the
// usage of a Traditional interface (as in the shipped Traditional language
// file). Longer words come first where one begins another.
struct Usage {
  const char16_t* mapped;
  const char16_t* preferred;
};
constexpr Usage kUsage[] = {
    {u"保存", u"儲存"},     {u"數據文件夾", u"資料夾"}, {u"文件夾", u"資料夾"},   {u"文件", u"檔案"},
    {u"設置", u"設定"},     {u"數據", u"資料"},         {u"默認", u"預設"},       {u"打開", u"開啟"},
    {u"只讀", u"唯讀"},     {u"字節", u"位元組"},       {u"字符", u"字元"},       {u"查找", u"尋找"},
    {u"搜索", u"搜尋"},     {u"添加", u"新增"},         {u"信息", u"訊息"},       {u"制作", u"製作"},
    {u"一周", u"一週"},     {u"游戲", u"遊戲"},         {u"此行", u"此列"},       {u"粘貼", u"貼上"},
    {u"單元格", u"儲存格"}, {u"工具欄", u"工具列"},     {u"窗口", u"視窗"},       {u"剪貼板", u"剪貼簿"},
    {u"菜單", u"選單"},     {u"工作簿", u"活頁簿"},     {u"電子表格", u"試算表"}, {u"撤銷", u"復原"},
    {u"復制", u"複製"},     {u"所有列", u"所有欄"},     {u"單擊", u"按一下"},
};

// Rows and columns: the mainland 行 (row) and 列 (column) after a number
// ("第 3 行第 7 列", "2 行 5 列") read 列 and 欄 in Taiwan usage.
QString RowsAndColumns(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if ((c == QChar(u'行') || c == QChar(u'列')) && i > 0) {
      qsizetype j = i - 1;
      if (text[j] == QLatin1Char(' ') && j > 0) --j;
      if (text[j].isDigit()) {
        out += c == QChar(u'行') ? QChar(u'列') : QChar(u'欄');
        continue;
      }
    }
    out += c;
  }
  return out;
}

QString TraditionalUsage(const QString& mapped) {
  QString out;
  out.reserve(mapped.size());
  for (qsizetype i = 0; i < mapped.size();) {
    bool replaced = false;
    for (const Usage& u : kUsage) {
      const QStringView word(u.mapped);
      if (QStringView(mapped).mid(i).startsWith(word)) {
        out += QStringView(u.preferred);
        i += word.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out += mapped[i++];
  }
  return out;
}
}  // namespace

QString PathWrong(Script code) {
  return Traditional(code) ? QStringLiteral("路徑錯誤，請重新設置") : QStringLiteral("路径错误，请重新设置");
}

QString FileNotFound(Script code) {
  return Traditional(code) ? QStringLiteral("未找到文件，設置錯誤") : QStringLiteral("未找到文件，设置错误");
}

QString ChooseFolder(Script code) {
  return Traditional(code) ? QStringLiteral("請選擇Data文件所在目錄") : QStringLiteral("请选择Data文件所在目录");
}

QString SelectedCount(Script code, int count) {
  return Traditional(code) ? QStringLiteral("共%1項被選擇").arg(count) : QStringLiteral("共%1项被选择").arg(count);
}

QString NotFoundForLocale(int localeId) {
  if (localeId == 2052) return QStringLiteral("未找到搜索项");
  if (localeId == 1028) return QStringLiteral("未找到搜索項");
  return QString();
}

QString Localised(Script code, const QString& simplified) {
  if (!Traditional(code)) return simplified;
  // A quoted stretch is the user's or the file's text (“团” 无法以 Big5 保存):
  // it is shown as it is, only the message's own words are converted.
  auto convert = [](QStringView words) { return RowsAndColumns(TraditionalUsage(ToTraditional(words.toString()))); };
  const QStringView text(simplified);
  QString out;
  out.reserve(text.size());
  qsizetype from = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar close = text[i] == u'“' ? u'”' : text[i] == u'「' ? u'」' : text[i] == u'『' ? u'』' : QChar();
    if (close.isNull()) continue;
    const qsizetype end = text.indexOf(close, i + 1);
    if (end < 0) break;
    out += convert(text.mid(from, i - from));
    out += text.mid(i, end + 1 - i);
    from = end + 1;
    i = end;
  }
  out += convert(text.mid(from));
  return out;
}

}  // namespace v3::msg
