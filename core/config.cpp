#include "core/config.h"

#include "core/text/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

ConfigRead readConfigLines(const QStringList& lines, Config& config, const QString& file,
                           QStringList* dropped) {
    // A folder is chosen, not typed: any character but a control one. The same for line 4,
    // which selects nothing when it is not a position of the list.
    const KeyFilter printable{
        [](int c) { return c >= 32 && c != 127; }, 0, {}, KeyFilter::Order::CharacterFirst, false};
    const struct {
        QString* value;
        QString field;
        KeyFilter filter;
    } values[] = {
        {&config.officeType, QStringLiteral("Tipo ufficio"), configfields::officeType()},
        {&config.officeSeat, QStringLiteral("Sede ufficio"), configfields::officeSeat()},
        {&config.defaultPurpose, QStringLiteral("Finalit\u00E0"), configfields::purpose()},
        {&config.defaultCertType, QStringLiteral("Tipo certificato"), printable},
        {&config.outputFolder, QStringLiteral("Cartella dei lotti"), printable},
        {&config.importFolder, QStringLiteral("Cartella di importazione"), printable},
        {&config.pdfFolder, QStringLiteral("Cartella dei moduli"), printable}};
    const qsizetype count = std::min<qsizetype>(lines.size(), std::size(values));
    for (qsizetype i = 0; i < count; ++i) {
        Result<QString> typed = typeText(values[i].filter, lines[i]);
        if (!typed && dropped)
            dropped->append(droppedValueMessage(file, int(i + 1), values[i].field, typed.error()));
        *values[i].value = typed ? std::move(*typed) : QString();
    }
    return lines.size() >= 4 ? ConfigRead::Complete : ConfigRead::Short;
}

ConfigRead readConfigFile(const QString& path, Config& config, QStringList* dropped) {
    const QString shown = QDir::toNativeSeparators(path);
    if (QFileInfo(path).size() > kMaxConfigBytes) {
        if (dropped)
            dropped->append(QStringLiteral("Il file %1 supera la grandezza massima di %2 KiB ed "
                                           "\u00E8 danneggiato: non \u00E8 stato letto")
                                .arg(shown)
                                .arg(kMaxConfigBytes / 1024));
        return ConfigRead::Unreadable;
    }
    const TextRead read = readTextFile(path);
    if (!read.ok())
        return ConfigRead::Unreadable;
    return readConfigLines(*read, config, shown, dropped);
}

QString configText(const Config& config) {
    return joinLines({config.officeType, config.officeSeat, config.defaultPurpose,
                      config.defaultCertType, config.outputFolder, config.importFolder,
                      config.pdfFolder});
}

Status writeConfigFile(const QString& path, const Config& config) {
    const Result<QByteArray> bytes = encodeForFile(path, configText(config));
    if (!bytes)
        return Failure{bytes.error()};
    // A file that already holds these bytes is left alone: the import writes the configuration
    // after every file, and a durable write costs more than the rest of a large import.
    if (QFile file(path);
        file.size() == bytes->size() && file.open(QIODevice::ReadOnly) && file.readAll() == *bytes)
        return {};
    return writeFile(path, *bytes);
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
