#include "core/request/request.h"

namespace velmora {
namespace {

bool protocolKey(int c) {
    return keys::isDigit(c) || keys::isAsciiLetter(c);
}

} // namespace

QString certificateDescription(int certificateType) {
    if (certificateType < 0 || certificateType >= int(kCertificateTypes.size()))
        return {};
    return kCertificateTypes.at(certificateType);
}

QString certTypeFromList(int position) {
    return QLatin1Char(' ') + QString::number(position);
}

bool takesOfficeType(const QString& typed, const QString& officeType) {
    return typed != officeType && typed.size() >= 2;
}

StartupPlan planStartup(ConfigRead read, const Config& config) {
    StartupPlan plan;
    plan.showMainWindow = config.isComplete();
    if (read == ConfigRead::Unreadable)
        return plan;
    plan.officeType = config.officeType;
    if (read != ConfigRead::Complete)
        return plan;
    if (!config.defaultCertType.isEmpty()) {
        plan.request.certificateType = certTypePosition(config.defaultCertType);
        if (plan.request.certificateType < 0)
            return plan; // a line 4 that selects nothing also leaves the purpose alone
    }
    plan.request.purpose = config.defaultPurpose;
    return plan;
}

namespace requestfields {

KeyFilter protocolNumber() {
    return {protocolKey, kProtocolNumberWidth, QStringLiteral("Max 30 Caratteri"),
            KeyFilter::Order::LengthFirst, true};
}

KeyFilter officeType() {
    return {keys::isOfficeTypeKey, 150, QStringLiteral("Massimo 150 caratteri per il Tipo Ufficio"),
            KeyFilter::Order::CharacterFirst, true};
}

KeyFilter purpose() {
    return {keys::isPurposeKey, 250, QStringLiteral("Massimo 250 Caratteri"),
            KeyFilter::Order::CharacterFirst, true};
}

} // namespace requestfields
} // namespace velmora
