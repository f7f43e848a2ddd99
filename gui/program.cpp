#include "gui/program.h"

#include "core/paths.h"
#include "gui/messages.h"

namespace velmora {

Program::Program(Messages& messages, Shell& shell, Clock& clock)
    : messages(messages), shell(shell), clock(clock) {}

ConfigRead Program::readConfig() {
    return ReadConfig(workingPath(kConfigFile), config);
}

bool Program::writeConfig() {
    const QString error = WriteConfig(workingPath(kConfigFile), config);
    if (error.isEmpty())
        return true;
    messages.show(configWriteFailure(error), Messages::Icon::Critical);
    return false;
}

ConfigRead Program::reloadConfig() {
    const QString officeType = config.OfficeType;
    const ConfigRead read = readConfig();
    if (!officeType.isEmpty())
        config.OfficeType = officeType;
    return read;
}

} // namespace velmora
