#include "app/Messages.h"

#include "text/Big5.h"

namespace v3::msg {
namespace {
bool Traditional(const QString& languageCode) { return languageCode == QLatin1String("2"); }
}  // namespace

QString PathWrong(const QString& code) {
  return Traditional(code) ? QStringLiteral("路徑錯誤，請重新設置") : QStringLiteral("路径错误，请重新设置");
}

QString FileNotFound(const QString& code) {
  return Traditional(code) ? QStringLiteral("未找到文件，設置錯誤") : QStringLiteral("未找到文件，设置错误");
}

QString ChooseFolder(const QString& code) {
  return Traditional(code) ? QStringLiteral("請選擇Data文件所在目錄") : QStringLiteral("请选择Data文件所在目录");
}

QString SelectedCount(const QString& code, int count) {
  return Traditional(code) ? QStringLiteral("共%1項被選擇").arg(count) : QStringLiteral("共%1项被选择").arg(count);
}

QString NotFoundForLocale(int localeId) {
  if (localeId == 2052) return QStringLiteral("未找到搜索项");
  if (localeId == 1028) return QStringLiteral("未找到搜索項");
  return QString();
}

QString Localised(const QString& code, const QString& simplified) {
  return Traditional(code) ? ToTraditional(simplified) : simplified;
}

}  // namespace v3::msg
