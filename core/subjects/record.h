#pragma once

#include <QStringView>

namespace velmora::record {

// The facts of one subject that every part of the program agrees on: the fixed-width record of
// the subject list file (which the import reads back), the longest values the checks and the
// entry window admit, and the state that means "born in Italy".

// A field of the fixed-width record: 1-based start and width.
struct Field {
    qsizetype start;
    qsizetype width;
};

inline constexpr Field kSurname{1, 72};
inline constexpr Field kName{73, 72};
inline constexpr Field kMunicipalityCode{145, 4};
inline constexpr Field kForeignPlace{149, 60};
inline constexpr Field kBirthDate{209, 10};
inline constexpr Field kStateCode{219, 4};
inline constexpr Field kFather{223, 72};
inline constexpr Field kSex{295, 1};
inline constexpr Field kTaxCode{296, 16};
inline constexpr Field kCui{312, 7};

// A record without a unique identifier, and one with it (line end not counted).
inline constexpr qsizetype kShortRecord = kTaxCode.start + kTaxCode.width - 1;
inline constexpr qsizetype kLongRecord = kCui.start + kCui.width - 1;

// The longest values: surname, first name and father's name; foreign municipality. A tax code
// has exactly kTaxCodeLength characters, a unique identifier exactly kCuiLength.
inline constexpr qsizetype kNameLimit = kSurname.width;
inline constexpr qsizetype kForeignPlaceLimit = kForeignPlace.width;
inline constexpr qsizetype kTaxCodeLength = kTaxCode.width;
inline constexpr qsizetype kCuiLength = kCui.width;

// The state of birth of a person born in Italy, and its code.
inline constexpr QStringView kItaly = u"ITALIA";
inline constexpr QStringView kItalyCode = u"Z000";

} // namespace velmora::record
