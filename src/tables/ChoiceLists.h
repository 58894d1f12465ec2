#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace v3 {

// The choice lists that editors fill from the game's own tables. An entry's
// position carries meaning:
//   producer list: entry p is the name of the producer numbered p (empty where
//                  Producer.tab has no producer p);
//   star list:     entry p is the name of record p + 1 of StarRole.dat;
//   team list:     entry p is the name of record p + 1 of Team.dat.
// Names are decoded from Big5 with trailing blanks removed; the star and team
// lists show the first 8 bytes of the name field, cut at a character boundary.
// A short file or a hostile count never reads past the end: records that do
// not start inside the file are not listed.

QStringList ProducerListFromFile(const QByteArray& producerTab);
QStringList StarListFromFile(const QByteArray& starRole);  // the name at the offset of the file's layout
QStringList TeamListFromFile(const QByteArray& team);

// The data folder as Config.ini in the program folder names it (section
// "Config", key "Path"), the program folder when there is none. A missing
// Config.ini is not created.
QString ChoiceListDataFolder(const QString& programFolder);

// The lists read from the data folder of ChoiceListDataFolder(programFolder).
// A missing file gives an empty list and is not created.
QStringList ProducerList(const QString& programFolder);
QStringList StarList(const QString& programFolder);
QStringList TeamList(const QString& programFolder);

}  // namespace v3
