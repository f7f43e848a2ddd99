#include "core/config.h"

#include "core/text/textfile.h"

namespace velmora {
namespace {

bool officeSeatKey(int c) {
    return c == ' ' || c == '\'' || c == '-' || c == '.' || keys::isAsciiLetter(c) ||
           keys::isAccented(c);
}

} // namespace

bool Config::isComplete() const {
    return !defaultPurpose.isEmpty() && !officeSeat.isEmpty() && !officeType.isEmpty();
}

ConfigRead readConfigLines(const QStringList& lines, Config& config) {
    QString* const values[] = {
        &config.officeType,   &config.officeSeat,   &config.defaultPurpose, &config.defaultCertType,
        &config.outputFolder, &config.importFolder, &config.pdfFolder};
    const qsizetype count = std::min<qsizetype>(lines.size(), std::size(values));
    for (qsizetype i = 0; i < count; ++i)
        *values[i] = lines[i];
    return lines.size() >= 4 ? ConfigRead::Complete : ConfigRead::Short;
}

ConfigRead readConfigFile(const QString& path, Config& config) {
    const TextRead read = readTextFile(path);
    if (!read.ok())
        return ConfigRead::Unreadable;
    return readConfigLines(*read, config);
}

QString configText(const Config& config) {
    return joinLines({config.officeType, config.officeSeat, config.defaultPurpose,
                      config.defaultCertType, config.outputFolder, config.importFolder,
                      config.pdfFolder});
}

Status writeConfigFile(const QString& path, const Config& config) {
    return writeTextFile(path, configText(config));
}

int certTypePosition(const QString& defaultCertType) {
    QStringView text = defaultCertType;
    if (text.startsWith(u' '))
        text = text.mid(1);
    bool ok = false;
    const int position = text.toInt(&ok);
    return ok && position >= 0 && position <= 4 ? position : -1;
}

QString configWriteFailure(const QString& error) {
    return QStringLiteral("La configurazione non \u00E8 stata salvata.\r\n%1").arg(error);
}

namespace configfields {

KeyFilter officeType() {
    return {keys::isOfficeTypeKey, 150, QStringLiteral("Massimo 150 caratteri"),
            KeyFilter::Order::CharacterFirst, true};
}

KeyFilter officeSeat() {
    return {officeSeatKey, 60, QStringLiteral("Massimo 60 Caratteri"),
            KeyFilter::Order::CharacterFirst, true};
}

KeyFilter purpose() {
    return {keys::isPurposeKey, 250, QStringLiteral("Massimo 250 Caratteri"),
            KeyFilter::Order::CharacterFirst, true};
}

} // namespace configfields
} // namespace velmora
