// SPDX-License-Identifier: MIT
#include "date_text.h"

#include "formats.h"
#include "number_text.h"

#include <algorithm>

namespace quennix {

QString dateText(DateValue value) {
    QString text = formatDate(value, QStringLiteral("dd/mm/yyyy"));
    const DateParts p = dateParts(value);
    if (p.hour != 0 || p.minute != 0 || p.second != 0)
        text += QLatin1Char(' ') + formatDate(value, QStringLiteral("hh:mm:ss AM/PM"));
    return text;
}

namespace {

// The text is first cut into tokens: runs of digits, runs of letters, single
// punctuation marks and runs of blanks. Every accepted form is a short token
// sequence, so the reader gives up as soon as the text grows past that.
enum class Kind { None, Number, Word, Punct, Blank };

// A token; past the last one, None.
struct Token {
    Kind kind = Kind::None;
    int value = 0;  // Number: its value (meaningless past kMaxDigits)
    int length = 0; // Number: digits; Word: letters
    QString text;   // Word: its letters in lower case; Punct: the mark
};

constexpr int kMaxDigits = 4;   // no field needs more
constexpr int kLengthCap = 100; // lengths past this only need to read as "too long"
// The longest form: "1 - January - 2000 11:59:59 PM", a month-name date
// with blanks around both marks, a time and AM/PM.
constexpr int kMaxTokens = 17;

// ASCII only: other scripts' letters (and their lower-case forms) are no
// part of an English month name.
bool isLetter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isPunct(char16_t c) {
    return c == '/' || c == '-' || c == ':' || c == ',' || c == '.';
}

// False when the text holds a character no date uses, or too many tokens.
// Each token is a run of digits, letters or blanks, or a single mark.
using Tokens = QList<Token>;

bool tokenize(QStringView text, Tokens &tokens) {
    // What is left to read, so no index can pass its end.
    for (QStringView rest = text; !rest.isEmpty();) {
        const QChar first = rest.front();
        bool (*const of)(QChar) = isDigit(first)    ? isDigit
                                  : isLetter(first) ? isLetter
                                  : isBlank(first)  ? isBlank
                                                    : nullptr;
        if ((!of && !isPunct(first.unicode())) || tokens.size() == kMaxTokens)
            return false;
        Token &t = tokens.emplace_back();
        if (!of) {
            t.kind = Kind::Punct;
            t.text = first;
            rest = rest.sliced(1);
            continue;
        }
        const QStringView run =
            rest.first(std::find_if_not(rest.begin(), rest.end(), of) - rest.begin());
        rest = rest.sliced(run.size());
        t.length = int(std::min<qsizetype>(run.size(), kLengthCap));
        if (of == isDigit) {
            t.kind = Kind::Number;
            for (QChar c : run.first(std::min<qsizetype>(run.size(), kMaxDigits)))
                t.value = t.value * 10 + (c.unicode() - '0');
        } else if (of == isLetter) {
            t.kind = Kind::Word;
            t.text = run.toString().toLower();
        } else {
            t.kind = Kind::Blank;
        }
    }
    return true;
}

// Month 1..12 for a full or three-letter English name, 0 for anything else.
int monthOfWord(const Token &t) {
    for (int m = 1; t.kind == Kind::Word && m <= 12; ++m) {
        const QLatin1String name = monthName(m);
        if (t.text.compare(name, Qt::CaseInsensitive) == 0 ||
            (t.text.size() == 3 && name.startsWith(t.text, Qt::CaseInsensitive)))
            return m;
    }
    return 0;
}

struct Time {
    int hour = 0, minute = 0, second = 0;
};

// Recursive descent over the tokens. Each rule takes a position and moves it
// past what it read; date() and time() move it only on success, so the next
// form can be tried from the same place.
class DateReader {
public:
    explicit DateReader(const Tokens &tokens) : tokens_(tokens), count_(int(tokens.size())) {}

    std::optional<DateValue> read() {
        int pos = 0;
        if (const std::optional<Time> t = time(pos); t && pos == count_)
            return toDateValue(epochDate(), QTime(t->hour, t->minute, t->second));
        pos = 0;
        const QDate d = date(pos);
        if (!d.isValid())
            return std::nullopt;
        Time t;
        if (pos != count_) {
            // A blank (or, after a year-first date, "T") leads into the time.
            // Only the year-first form starts with four digits.
            const bool yearFirst = token(0).kind == Kind::Number && token(0).length == 4;
            const bool tee = yearFirst && at(pos, Kind::Word) && token(pos).text == u"t";
            if (!at(pos, Kind::Blank) && !tee)
                return std::nullopt;
            ++pos;
            const std::optional<Time> read = time(pos);
            if (!read || pos != count_)
                return std::nullopt;
            t = *read;
        }
        return toDateValue(d, QTime(t.hour, t.minute, t.second));
    }

private:
    // The token at pos, or one of kind None past the last.
    Token token(int pos) const { return tokens_.value(pos); }
    bool at(int pos, Kind kind) const { return token(pos).kind == kind; }
    bool atPunct(int pos, char mark) const {
        return at(pos, Kind::Punct) && token(pos).text == QLatin1Char(mark);
    }

    // A number of minDigits..maxDigits digits.
    std::optional<int> number(int &pos, int minDigits, int maxDigits) const {
        if (!at(pos, Kind::Number) || token(pos).length < minDigits ||
            token(pos).length > maxDigits)
            return std::nullopt;
        return token(pos++).value;
    }

    // A year of two digits (00..29 -> 20xx, 30..99 -> 19xx) or four.
    std::optional<int> year(int &pos) const {
        if (!at(pos, Kind::Number))
            return std::nullopt;
        const Token &t = token(pos);
        if (t.length == 2) {
            ++pos;
            return t.value + (t.value < 30 ? 2000 : 1900);
        }
        return number(pos, 4, 4);
    }

    // Between the parts of a month-name date: blanks and at most one of
    // "-", "/", "," or ".", but something.
    bool nameSeparator(int &pos) const {
        const int start = pos;
        if (at(pos, Kind::Blank))
            ++pos;
        if (at(pos, Kind::Punct) && token(pos).text != u":") {
            ++pos;
            if (at(pos, Kind::Blank))
                ++pos;
        }
        return pos != start;
    }

    static QDate makeDate(int y, int m, int d) {
        if (y < 100 || y > 9999)
            return QDate();
        return QDate(y, m, d); // invalid for days the month does not have
    }

    QDate date(int &pos) const {
        for (auto form : {&DateReader::numericDate, &DateReader::dayMonthNameDate,
                          &DateReader::monthNameDayDate}) {
            int p = pos;
            const QDate d = (this->*form)(p);
            if (d.isValid()) {
                pos = p;
                return d;
            }
        }
        return QDate();
    }

    // "d/m/yy", "d-m-yyyy", "d.m.yyyy" ... day first; "yyyy-mm-dd" or
    // "yyyy/mm/dd" year first.
    QDate numericDate(int &pos) const {
        if (!at(pos, Kind::Number) ||
            !(atPunct(pos + 1, '/') || atPunct(pos + 1, '-') || atPunct(pos + 1, '.')))
            return QDate();
        const char mark = char(token(pos + 1).text.front().unicode());
        if (token(pos).length == 4) {
            const int y = token(pos).value;
            pos += 2;
            const auto m = number(pos, 1, 2);
            if (!m || !atPunct(pos, mark))
                return QDate();
            ++pos;
            const auto d = number(pos, 1, 2);
            return d ? makeDate(y, *m, *d) : QDate();
        }
        const auto d = number(pos, 1, 2);
        if (!d)
            return QDate();
        ++pos;
        const auto m = number(pos, 1, 2);
        if (!m || !atPunct(pos, mark))
            return QDate();
        ++pos;
        const auto y = year(pos);
        return y ? makeDate(*y, *m, *d) : QDate();
    }

    // "1 January 2000", "1-Jan-2000".
    QDate dayMonthNameDate(int &pos) const {
        const auto d = number(pos, 1, 2);
        if (!d || !nameSeparator(pos))
            return QDate();
        const int m = monthOfWord(token(pos));
        if (m == 0)
            return QDate();
        ++pos;
        if (!nameSeparator(pos))
            return QDate();
        const auto y = year(pos);
        return y ? makeDate(*y, m, *d) : QDate();
    }

    // "January 1, 2000".
    QDate monthNameDayDate(int &pos) const {
        const int m = monthOfWord(token(pos));
        if (m == 0)
            return QDate();
        ++pos;
        if (!nameSeparator(pos))
            return QDate();
        const auto d = number(pos, 1, 2);
        if (!d || !nameSeparator(pos))
            return QDate();
        const auto y = year(pos);
        return y ? makeDate(*y, m, *d) : QDate();
    }

    // "h:mm", "h:mm:ss", either with an optional "AM"/"PM". On the 12-hour
    // clock the hour runs 1..12 and 12 AM is midnight.
    std::optional<Time> time(int &pos) const {
        int p = pos;
        const auto h = number(p, 1, 2);
        if (!h || !atPunct(p, ':'))
            return std::nullopt;
        ++p;
        const auto m = number(p, 1, 2);
        if (!m)
            return std::nullopt;
        std::optional<int> s = 0;
        if (atPunct(p, ':')) {
            ++p;
            s = number(p, 1, 2);
            if (!s)
                return std::nullopt;
        }
        Time t{*h, *m, *s};
        const int q = at(p, Kind::Blank) ? p + 1 : p;
        if (at(q, Kind::Word) && (token(q).text == u"am" || token(q).text == u"pm")) {
            if (t.hour < 1 || t.hour > 12)
                return std::nullopt;
            t.hour = t.hour % 12 + (token(q).text == u"pm" ? 12 : 0);
            p = q + 1;
        }
        if (t.hour > 23 || t.minute > 59 || t.second > 59)
            return std::nullopt;
        pos = p;
        return t;
    }

    const Tokens &tokens_;
    int count_;
};

} // namespace

std::optional<DateValue> textToDate(QStringView text) {
    Tokens tokens;
    if (!tokenize(text.trimmed(), tokens))
        return std::nullopt;
    return DateReader(tokens).read();
}

} // namespace quennix
