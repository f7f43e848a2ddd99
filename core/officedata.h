#pragma once

#include <QString>
#include <optional>

namespace velmora {

// The office's data the program cannot start or write a request without.
struct OfficeData {
    QString officeType;
    QString officeSeat;
    QString purpose;
};

// The first of the three values left empty, with the message that asks for it.
struct MissingOfficeData {
    enum class Field { OfficeType, OfficeSeat, Purpose };
    Field field;
    QString message;
};

inline const QString kNoOfficeTypeGiven = QStringLiteral("Inserire la tipologia di ufficio");
inline const QString kNoOfficeSeatGiven = QStringLiteral("Inserire il comune sede dell'ufficio");
inline const QString kNoPurposeGiven = QStringLiteral("Inserire la finalit\u00E0");

// Asks for the office type, then the seat, then the purpose; none when all three are given.
std::optional<MissingOfficeData> missingOfficeData(const OfficeData& data);

} // namespace velmora
