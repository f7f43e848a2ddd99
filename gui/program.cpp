#include "gui/program.h"

#include "core/paths.h"
#include "gui/messages.h"

namespace velmora {

Program::Program(Messages& messages, Shell& shell, Clock& clock, DataFolders folders)
    : messages(messages), shell(shell), clock(clock), folders(std::move(folders)) {}

ConfigRead Program::readConfig(QStringList* dropped) {
    return readConfigFile(folders.workFile(kConfigFile), config, dropped);
}

bool Program::writeConfig() {
    const Status written = writeConfigFile(folders.workFile(kConfigFile), config);
    if (written)
        return true;
    messages.show(configWriteFailure(written.error()), Messages::Icon::Critical);
    return false;
}

ConfigRead Program::reloadConfig() {
    const QString officeType = config.officeType;
    const ConfigRead read = readConfig();
    if (!officeType.isEmpty())
        config.officeType = officeType;
    return read;
}

} // namespace velmora
