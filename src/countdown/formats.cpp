// SPDX-License-Identifier: MIT
#include "formats.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <vector>

namespace quennix {

QString formatCount(qint64 count) {
    // Digit by digit from the end, each the remainder's size, so the most
    // negative count needs no negation; written backwards into a buffer that
    // holds any count ("-9,223,372,036,854,775,808" is 26 characters): once a
    // second, no allocation but the text's own.
    char text[32];
    char *start = std::end(text);
    int digits = 0;
    for (qint64 rest = count; rest != 0 || digits == 0; rest /= 10) {
        if (digits > 0 && digits % 3 == 0)
            *--start = ',';
        *--start = char('0' + std::abs(int(rest % 10)));
        ++digits;
    }
    if (count < 0)
        *--start = '-';
    return QString::fromLatin1(start, std::end(text) - start);
}

namespace {

enum class Field { Literal, Hour, Minute, Second, Day, Month, Year, AmPm };

struct PatternPart {
    Field field;
    int width;       // letters in the run (fields only)
    QString literal; // text copied as it stands (literals only)
};

Field fieldOfLetter(QChar letter) {
    switch (letter.toLower().unicode()) {
    case 'h':
        return Field::Hour;
    case 'm':
        return Field::Month; // may turn into minutes once its neighbours are known
    case 's':
        return Field::Second;
    case 'd':
        return Field::Day;
    case 'y':
        return Field::Year;
    default:
        return Field::Literal;
    }
}

// Splits a pattern into runs of one field letter, "AM/PM" markers and the
// literal text between them.
std::vector<PatternPart> splitPattern(const QString &pattern) {
    static const QString kAmPm = QStringLiteral("AM/PM");
    std::vector<PatternPart> parts;
    auto addLiteral = [&parts](QChar c) {
        if (parts.empty() || parts.back().field != Field::Literal)
            parts.push_back({Field::Literal, {}, QString()});
        parts.back().literal.append(c);
    };
    // What is left to read, so no index can pass its end.
    for (QStringView rest = pattern; !rest.isEmpty();) {
        if (rest.startsWith(kAmPm, Qt::CaseInsensitive)) {
            parts.push_back({Field::AmPm, {}, QString()});
            rest = rest.sliced(kAmPm.size());
            continue;
        }
        const QChar letter = rest.front();
        const Field field = fieldOfLetter(letter);
        if (field == Field::Literal) {
            addLiteral(letter);
            rest = rest.sliced(1);
            continue;
        }
        const auto runEnd = std::find_if(rest.begin(), rest.end(), [letter](QChar c) {
            return c.toLower() != letter.toLower();
        });
        const qsizetype run = runEnd - rest.begin();
        parts.push_back({field, int(run), QString()});
        rest = rest.sliced(run);
    }
    // "m" means minutes when it follows an hour field across a ":".
    bool afterHourAndColon = false;
    bool afterHour = false;
    for (PatternPart &t : parts) {
        if (t.field == Field::Month && afterHourAndColon)
            t.field = Field::Minute;
        afterHourAndColon =
            afterHour && t.field == Field::Literal && t.literal == QLatin1String(":");
        afterHour = t.field == Field::Hour;
    }
    return parts;
}

QString zeroPadded(int value, int width) {
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

const QLatin1String kMonthNames[] = {
    QLatin1String("January"), QLatin1String("February"), QLatin1String("March"),
    QLatin1String("April"),   QLatin1String("May"),      QLatin1String("June"),
    QLatin1String("July"),    QLatin1String("August"),   QLatin1String("September"),
    QLatin1String("October"), QLatin1String("November"), QLatin1String("December")};
const QLatin1String kDayNames[] = {QLatin1String("Monday"),    QLatin1String("Tuesday"),
                                   QLatin1String("Wednesday"), QLatin1String("Thursday"),
                                   QLatin1String("Friday"),    QLatin1String("Saturday"),
                                   QLatin1String("Sunday")};

// One letter: the bare number; two: padded; three: short name; more: full name.
QString nameOrNumber(int value, int width, QLatin1String name) {
    if (width <= 2)
        return zeroPadded(value, width);
    return width == 3 ? QString(name.left(3)) : QString(name);
}

} // namespace

QString formatDate(DateValue value, const QString &pattern) {
    const DateParts p = dateParts(value);
    const std::vector<PatternPart> parts = splitPattern(pattern);
    bool twelveHour = false;
    for (const PatternPart &t : parts)
        twelveHour = twelveHour || t.field == Field::AmPm;

    QString out;
    for (const PatternPart &t : parts) {
        const int pad = t.width >= 2 ? 2 : 1;
        switch (t.field) {
        case Field::Literal:
            out += t.literal;
            break;
        case Field::Hour: {
            // On the 12-hour clock midnight and noon both read 12.
            const int hour = twelveHour ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour;
            out += zeroPadded(hour, pad);
            break;
        }
        case Field::Minute:
            out += zeroPadded(p.minute, pad);
            break;
        case Field::Second:
            out += zeroPadded(p.second, pad);
            break;
        case Field::Day:
            out += nameOrNumber(p.day, t.width, kDayNames[p.dayOfWeek - 1]);
            break;
        case Field::Month:
            out += nameOrNumber(p.month, t.width, kMonthNames[p.month - 1]);
            break;
        case Field::Year:
            out += t.width <= 2 ? zeroPadded(p.year % 100, t.width) : zeroPadded(p.year, 4);
            break;
        case Field::AmPm:
            out += p.hour < 12 ? QLatin1String("AM") : QLatin1String("PM");
            break;
        }
    }
    return out;
}

QLatin1String monthName(int month) {
    return kMonthNames[month - 1];
}

QString secondsToCaption(DateValue baseTime, const QString &pattern) {
    return QStringLiteral("Seconds to ") + formatDate(baseTime, pattern);
}

} // namespace quennix
