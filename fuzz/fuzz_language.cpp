// The language-file reader on any bytes, as CHS.txt (GBK) and CHT.txt (Big5):
// captions, lists and headers are looked up without a crash, and no text is
// longer than the reader's buffer allows.
#include <QFileInfo>

#include "FuzzSupport.h"
#include "text/Language.h"

using namespace v3;

namespace {

QString folder() {
  static QTemporaryDir dir(
      QDir(QFileInfo::exists("/dev/shm") ? "/dev/shm" : QDir::tempPath()).filePath("v3-fuzz-XXXXXX"));
  return dir.path();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  v3fuzz::WriteSeedsIfAsked([](const QString&, const QString& out) {
    v3fuzz::WriteSeed(
        out, "chs",
        "[Vantaro3]\r\nCaption=Vantaro3\r\nmnu_save=\xb1\xa3\xb4\xe6(&S)\r\n[Team.dat]\r\n1=\xb1\xe0\xba\xc5\r\n"
        "[Time]\r\n0=a\r\n1=b\r\n");
    v3fuzz::WriteSeed(out, "cht", "[Team.dat]\r\n1=\xbds\xb8\xb9\r\n2=\xb9\xce\xc5\xe9\xa6W\xba\xd9\r\n");
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes = v3fuzz::Bytes(data, size);
  const bool traditional = size > 0 && (data[0] & 1);
  const QString path = folder() + (traditional ? "/CHT.txt" : "/CHS.txt");
  QFile::remove(folder() + "/CHS.txt");
  QFile::remove(folder() + "/CHT.txt");
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return 0;
  f.close();
  const LanguageFile texts(traditional ? Script::Traditional : Script::Simplified, folder());
  for (const QString& t :
       {texts.text("Vantaro3", "Caption", "x"), texts.text("team.dat", "1", ""), texts.text("Time", "0", "")})
    if (t.size() > 126) v3fuzz::Broken("a text longer than the reader's buffer");
  if (texts.list("Time", 0, 9).size() != 10) v3fuzz::Broken("a list with another count");
  if (texts.headers("Team.dat", 11).size() != 11) v3fuzz::Broken("a header with another count");
  return 0;
}
