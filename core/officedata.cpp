#include "core/officedata.h"

namespace velmora {

std::optional<MissingOfficeData> missingOfficeData(const OfficeData& data) {
    using Field = MissingOfficeData::Field;
    if (data.officeType.isEmpty())
        return MissingOfficeData{Field::OfficeType, kNoOfficeTypeGiven};
    if (data.officeSeat.isEmpty())
        return MissingOfficeData{Field::OfficeSeat, kNoOfficeSeatGiven};
    if (data.purpose.isEmpty())
        return MissingOfficeData{Field::Purpose, kNoPurposeGiven};
    return std::nullopt;
}

} // namespace velmora
