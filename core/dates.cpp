#include "core/dates.h"

namespace velmora {
namespace {

// The number formed by the leading digits of `piece`, 0 when it starts with none.
int leadingNumber(QStringView piece) {
    int value = 0;
    for (const QChar c : piece) {
        if (c < u'0' || c > u'9')
            break;
        value = value * 10 + (c.unicode() - '0');
        if (value > 9999)
            break;
    }
    return value;
}

bool allDigits(QStringView text) {
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

struct DateParts {
    int year;
    int month;
    int day;
};

std::optional<DateParts> dateParts(QStringView text) {
    if (text.size() != 10 || text[2] != u'/' || text[5] != u'/')
        return std::nullopt;
    const QStringView day = text.mid(0, 2), month = text.mid(3, 2), year = text.mid(6, 4);
    if (!allDigits(day) || !allDigits(month) || !allDigits(year))
        return std::nullopt;
    // All digits, so the leading number is the whole piece.
    const DateParts parts{leadingNumber(year), leadingNumber(month), leadingNumber(day)};
    if (parts.year < 100 || !QDate::isValid(parts.year, parts.month, parts.day))
        return std::nullopt;
    return parts;
}

} // namespace

bool isDate(QStringView text) {
    return dateParts(text).has_value();
}

std::optional<QDate> parseDate(QStringView text) {
    const std::optional<DateParts> parts = dateParts(text);
    return parts ? std::optional<QDate>(QDate(parts->year, parts->month, parts->day))
                 : std::nullopt;
}

bool dateFails(QStringView text, const QDateTime& now) {
    const auto pieces = text.split(u'/');
    if (pieces.size() < 2)
        return true;
    if (leadingNumber(pieces[0]) > 31 || leadingNumber(pieces[1]) > 12)
        return true;
    const auto date = parseDate(text);
    return !date || date->startOfDay() > now;
}

} // namespace velmora
