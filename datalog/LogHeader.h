#pragma once
// The data log's header: the facts read from each sensor when the data window opens, and
// the header lines built from them.

#include "ReadingCatalogue.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace dunmere {

class Link;
class TextSource;
struct SensorRecord;

struct SensorHeaderFacts {
    int address = 0;
    QString name;
    QString firmware;
    QString identity;
    QString smoothTime;
    QString slewUp;
    QString slewDown;
    bool hasMode = false;   // type codes 77 and 89
    QString mode;
    bool hasMode2 = false;  // those, with a second channel
    QString mode2;
};

// Parameters 14, 16, 17 and, for type codes 77 and 89, 38 and 47 (each up to three tries).
[[nodiscard]] SensorHeaderFacts ReadHeaderFacts(Link& link, int address, const SensorRecord& record, bool secondChannel,
                                                const TextSource& texts);

// Parameter 14 as the header writes it.
[[nodiscard]] QString SmoothTimeText(const QString& reply);

struct LogHeaderSetup {
    QList<SensorHeaderFacts> sensors;  // the rows in use, in order
    ReadingFlags ticked{};
    QStringList readingNames;
    int intervalSeconds = 1;
    QString identification;  // the program's part number and version
    QDateTime start;
};

// The header lines, each ending with CR LF.
[[nodiscard]] QString LogHeaderText(const LogHeaderSetup& setup, const TextSource& texts);

// How dates and times stand in the log (and how log-to-csv reads them back).
[[nodiscard]] QString LogDateText(const QDate& date);
[[nodiscard]] QString LogTimeText(const QTime& time);
inline constexpr char LogDateFormat[] = "yyyy-MM-dd";
inline constexpr char LogTimeFormat[] = "HH:mm:ss";
inline constexpr char LogRuleLine[] = "#====================================================#";

}  // namespace dunmere
