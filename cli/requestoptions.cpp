#include "cli/requestoptions.h"

#include "core/keyfilter.h"
#include "core/paths.h"
#include "core/request/request.h"

#include <QFileInfo>

namespace velmora::cli {

std::optional<int> certPosition(const Options& options) {
    const auto type = options.values.constFind(QStringLiteral("--type"));
    if (type == options.values.constEnd())
        return -1;
    bool number = false;
    const int position = type->toInt(&number);
    if (!number || type->size() != 1 || position < 0 || position >= int(kCertificateTypes.size()))
        return std::nullopt;
    return position;
}

QString certPositionRange() {
    return QStringLiteral("da 0 a %1").arg(kCertificateTypes.size() - 1);
}

Config officeConfig(const Options& options, Io& io) {
    Config config;
    QStringList dropped;
    readConfigFile(io.folders.workFile(kConfigFile), config, &dropped);
    for (const QString& message : dropped)
        io.err << "velmora-cli: " << message.toStdString() << '\n';
    config.officeType = options.values.value(QStringLiteral("--office-type"), config.officeType);
    config.officeSeat = options.values.value(QStringLiteral("--office-seat"), config.officeSeat);
    return config;
}

Status typeFieldOptions(Options& options) {
    const std::pair<QString, KeyFilter> fields[] = {
        {QStringLiteral("--purpose"), requestfields::purpose()},
        {QStringLiteral("--protocol"), requestfields::protocolNumber()},
        {QStringLiteral("--office-type"), configfields::officeType()},
        {QStringLiteral("--office-seat"), configfields::officeSeat()},
    };
    for (const auto& [option, filter] : fields) {
        const auto value = options.values.find(option);
        if (value == options.values.end())
            continue;
        Result<QString> typed = typeText(filter, *value);
        if (!typed)
            return Failure{option + QStringLiteral(": ") + typed.error()};
        *value = std::move(*typed);
    }
    return {};
}

QString destination(const Options& options) {
    const QString folder = options.values.value(QStringLiteral("--dest"));
    return folder.isEmpty() ? QString() : QFileInfo(folder).absoluteFilePath();
}

} // namespace velmora::cli
