#include "app/program.h"

#include "app/principale.h"
#include "checks/datiutente.h"
#include "import/importafile.h"
#include "output/creafiles.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "ui/frmsplash.h"

namespace velmora {

Program::Program(Messages& messages, Shell& shell, Clock& clock)
    : messages(messages), shell(shell), clock(clock), municipalities(kMunicipalityTable.toString()),
      states(kStateTable.toString()) {}

Program::~Program() {
    // Windows made on first use are top-level and belong to the program.
    delete configWindow_.data();
    delete outputWindow_.data();
    delete importWindow_.data();
    delete splash_.data();
    delete principale_.data();
}

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
    config.OfficeType = officeType;
    return read;
}

template <typename Window> Window& Program::reach(QPointer<Window>& slot) {
    if (!slot) {
        slot = new Window(*this);
        slot->setAttribute(Qt::WA_DeleteOnClose);
    }
    return *slot;
}

Principale& Program::principale() {
    if (!principale_)
        principale_ = new Principale(*this);
    return *principale_;
}

datiUtente& Program::configWindow() {
    return reach(configWindow_);
}

CreaFiles& Program::outputWindow() {
    return reach(outputWindow_);
}

void Program::closeOutputWindow() {
    if (outputWindow_)
        outputWindow_->close();
}

ImportaFile& Program::importWindow() {
    return reach(importWindow_);
}

frmSplash& Program::splash() {
    return reach(splash_);
}

void Program::closeSplash() {
    if (splash_)
        splash_->close();
}

void Program::closeOtherWindows() {
    const QPointer<QWidget> windows[] = {splash_.data(), importWindow_.data(), outputWindow_.data(),
                                         configWindow_.data()};
    for (const auto& window : windows) {
        if (window)
            window->close();
    }
}

} // namespace velmora
