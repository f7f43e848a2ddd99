#pragma once

namespace velmora {

// Why a subject row fails the batch check; the first condition that holds decides.
enum class RowFault {
    None,
    Surname,
    Name,
    Sex,
    BirthDate,
    UnknownMunicipalityCode, // a code the municipality table does not hold, kept as the file had it
    UnknownStateCode,
    NoStateCode,
    NoTaxCode,
    WrongTaxCode,
    CuiForItalian,
    CuiTooLong,
    FatherTooLong,
    ForeignPlaceTooLong,
    PlaceNotCoherent,
    NoMunicipality,
    // What would make the written record malformed.
    TaxCodeLength,
    CuiLength,
    BirthDateInFuture,
    Unprintable,
    // A character the entry window's field would not take.
    SurnameCharacter,
    NameCharacter,
    FatherCharacter,
    ForeignPlaceCharacter,
    TaxCodeCharacter,
    CuiCharacter,
    PlaceCodeForm,
};

} // namespace velmora
