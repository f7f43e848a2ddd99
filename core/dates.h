#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

namespace velmora {

// A complete "dd/mm/yyyy" naming a day of the calendar, read day first. Years 0000 to 0099
// are refused: a two-digit year typed with leading zeros is a typing slip, not antiquity.
std::optional<QDate> parseDate(QStringView text);
// The same answer without making the date, for the checks that only ask.
bool isDate(QStringView text);

// The date checks of the request and of a subject: fewer than two "/" pieces, a day above 31,
// a month above 12 or no real date fail; so does a date after today (today passes).
bool dateFails(QStringView text, const QDateTime& now);

} // namespace velmora
