#pragma once

namespace velmora {

// Why a subject row fails the batch check; the first condition that holds decides.
enum class RowFault {
    None,
    Surname,
    Name,
    Sex,
    BirthDate,
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
    PlaceCodeForm,
};

} // namespace velmora
