#include "tables/SampleContext.h"

#include <QDir>
#include <QHash>

#include "tables/Slots.h"
#include "tables/Tables.h"
#include "text/Big5.h"

namespace v3 {
namespace {

// Traditional Chinese vocabulary of the game's world, by kind of field.
const QHash<QString, QStringList>& pools() {
  static const QHash<QString, QStringList> p = {
      {"star", {"林心怡", "陳志明", "王美玲", "張家豪", "李若彤", "黃俊傑", "吳佩珊", "劉德成", "蔡依玲", "許文雄",
                "鄭雅婷", "謝明哲", "周慧敏", "楊宗緯", "羅志祥", "孫燕芝", "高育仁", "趙薇兒", "徐若瑄", "何潤東"}},
      {"team", {"星光少女", "飛輪海", "五月天團", "花樣男子", "閃亮三姊妹", "天使之翼", "東方神話", "青春舞曲"}},
      {"producer", {"王導演", "李製作", "陳監製", "張導", "林大導", "黃製作人", "周監製", "吳導演", "許製作", "楊導"}},
      {"company",
       {"華納唱片", "滾石唱片", "環球音樂", "新力音樂", "豐華唱片", "中視製作", "台視文化", "三立電視", "東森影業",
        "八大製作"}},
      {"job",
       {"夏日戀曲", "青春紀念冊", "城市之光", "海角七號", "流星花園", "愛情公寓", "台北晚九朝五", "再見了青春",
        "月光下的約定", "第一次心動", "星空下的旋律", "午夜電台"}},
      {"type", {"流行", "抒情", "搖滾", "偶像劇", "綜藝", "喜劇", "愛情", "動作", "飲料", "化妝品", "電器", "服飾"}},
      {"target", {"男歌手", "女歌手", "團體", "男演員", "女演員", "主持人", "新人", "不限"}},
      {"desc",
       {"一張以夏天為主題的專輯，需要清新的形象。", "描寫都市男女的愛情故事。", "年度大戲，製作費用驚人。",
        "深受年輕觀眾喜愛的節目。", "需要有一定的知名度。", "適合剛出道的新人。", "由知名導演執導。",
        "全台巡迴演出，行程緊湊。"}},
      {"place", {"台北", "長城", "東京", "好萊塢", "巴黎", "維也納", "夏威夷", "紐約", "開羅"}},
      {"item", {"鮮花", "巧克力", "香水", "手錶", "項鍊", "玩偶", "相機", "唱片", "禮服", "跑車"}},
      {"line",
       {"今天也要加油喔！", "我想休息一下。", "這個工作很有趣。", "經紀人，謝謝你。", "好累啊……", "我會努力的！",
        "下次再一起吃飯吧。", "你覺得我表現得怎麼樣？"}},
      {"question", {"台灣最高的山是哪一座？", "一年有幾個月？", "誰是流行音樂之王？", "水的化學式是什麼？"}},
      {"answer", {"玉山", "十二個", "麥可", "水", "阿里山", "十個", "貓王", "火", "雪山", "八個"}},
      {"level", {"初級", "中級", "高級", "特級"}},
      {"course", {"表演課", "歌唱課", "舞蹈課", "口才訓練", "健身", "禮儀課", "演唱會", "簽名會", "拍寫真", "休假"}},
      {"agent", {"陳經紀", "林姐", "王哥", "張經理"}},
      {"length", {"半小時", "一小時", "兩小時", "九十分", "三十分"}},
      {"time", {"上午", "下午", "晚上", "全天"}},
      {"activity", {"記者會", "演唱會", "簽名會", "慈善晚會", "握手會", "首映會", "發表會", "歌迷會", "巡迴演出"}},
      {"effect",
       {"送給藝人可提高好感度。", "使用後體力恢復。", "可讓心情變好。", "提高魅力。", "出席活動時的必備品。"}},
  };
  return p;
}

const QString kFallbackChars = QStringLiteral("星光夢想舞台青春歌聲明日之愛");

}  // namespace

SampleContext::SampleContext(unsigned seed, int records) : rng_(seed), seed_(seed), records_(std::max(1, records)) {}

int SampleContext::between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

bool SampleContext::chance(int percent) { return between(1, 100) <= percent; }

QString SampleContext::text(const char* kind, int maxBytes) {
  const QStringList pool = pools().value(QString::fromLatin1(kind));
  QStringList fitting;
  for (const QString& t : pool)
    if (EncodeCodePage(t, 950).size() <= maxBytes) fitting << t;
  if (!fitting.isEmpty()) return fitting[between(0, int(fitting.size()) - 1)];
  QString out;
  for (int i = 0; i < maxBytes / 2 && i < 4; ++i) out += kFallbackChars[between(0, int(kFallbackChars.size()) - 1)];
  return out;
}

QString SampleContext::filledText(const char* kind, int bytes) {
  QString t = text(kind, bytes);
  while (EncodeCodePage(t, 950).size() + 2 <= bytes) t += kFallbackChars[between(0, int(kFallbackChars.size()) - 1)];
  return t;
}

QString SampleContext::code(const QString& prefix, int number, int width) {
  QString c = prefix + QString::number(number).rightJustified(width - int(prefix.size()), u'0');
  return c.left(width);
}

QString SampleContext::jobCode(const QString& prefix, int number) {
  if (number < 1000) {
    if (number % 3 == 0) return prefix + QString::number(number);
    return prefix + QString::number(number).rightJustified(3, u'0');
  }
  static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  const int rest = number - 1000;  // 26 * 36 * 36 codes: enough for every count the tools allow
  return prefix + QChar(u'A' + rest / (36 * 36) % 26) + QChar(digits[rest / 36 % 36]) + QChar(digits[rest % 36]);
}

QString SampleContext::producerName(int number) const {
  const QStringList& pool = pools()["producer"];
  return pool[(number - 1) % pool.size()] +
         (number > pool.size() ? QString::number((number - 1) / pool.size()) : QString());
}

QString SampleContext::starName(int position) const {
  const QStringList& pool = pools()["star"];
  return pool[position % pool.size()];
}

QString SampleContext::yearText() {
  static const QString years[] = {"第一年", "第二年", "第三年", "特殊"};
  return years[between(0, 3)];
}

}  // namespace v3
