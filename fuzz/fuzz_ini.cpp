// The INI reader and writer on any bytes: setting a key changes only that
// key's line (the content before it stays), and reading it back gives the
// value set; every other key reads as before.
#include "FuzzSupport.h"
#include "text/Ini.h"

using namespace v3;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  v3fuzz::WriteSeedsIfAsked([](const QString&, const QString& out) {
    v3fuzz::WriteSeed(out, "config", "[Config]\r\nPath=C:\\Games\\Vantaro3\\Data\r\n");
    v3fuzz::WriteSeed(out, "sections",
                      "; comment\n[A]\nx = \"quoted\"\n[config]\nPATH=1\n[B]\ny=2\n[Config]\nPath=dup\n");
    v3fuzz::WriteSeed(
        out, "language",
        "[Vantaro3]\r\nCaption=Vantaro3\r\nmnu_save=\xb1\xa3\xb4\xe6(&S)\r\n[Team.dat]\r\n1=a\r\n2=b\r\n");
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray content = v3fuzz::Bytes(data, size);
  const QByteArray section = "Config", key = "Path", value = "/games/data";
  const std::optional<QByteArray> otherBefore = ini::FindValue(content, "Window", "Width");
  const QByteArray updated = ini::SetValue(content, section, key, value);
  const std::optional<QByteArray> read = ini::FindValue(updated, section, key);
  if (!read || *read != value) v3fuzz::Broken("the value set does not read back");
  if (ini::FindValue(updated, "Window", "Width") != otherBefore) v3fuzz::Broken("setting one key changed another");
  // Setting the same value again changes nothing more.
  if (ini::SetValue(updated, section, key, value) != updated) v3fuzz::Broken("setting a key twice differs");
  (void)ini::CutUtf8(QString::fromUtf8(content), 254);
  return 0;
}
