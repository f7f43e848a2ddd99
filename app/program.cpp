#include "app/program.h"

#include "app/principale.h"
#include "checks/datiutente.h"
#include "output/creafiles.h"
#include "platform/messages.h"
#include "platform/paths.h"
#include "subjects/insertpersona.h"
#include "ui/diacritici.h"
#include "ui/frmsplash.h"

namespace velmora {

Program::Program(Messages& messages, Shell& shell, Clock& clock)
    : messages(messages), shell(shell), clock(clock) {}

Program::~Program() {
    // Windows made on first use are top-level and belong to the program.
    delete configWindow_.data();
    delete outputWindow_.data();
    delete splash_.data();
    delete palette_.data();
    delete entryWindow_.data();
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

void Program::reloadConfig() {
    const QString officeType = config.OfficeType;
    readConfig();
    config.OfficeType = officeType;
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

frmSplash& Program::splash() {
    return reach(splash_);
}

void Program::closeSplash() {
    if (splash_)
        splash_->close();
}

InsertPersona& Program::entryWindow() {
    return reach(entryWindow_);
}

diacritici& Program::palette() {
    return reach(palette_);
}

void Program::closePalette() {
    if (palette_)
        palette_->close();
}

void Program::closeOtherWindows() {
    const QPointer<QWidget> windows[] = {splash_.data(), entryWindow_.data(), outputWindow_.data(),
                                         configWindow_.data(), palette_.data()};
    for (const auto& window : windows) {
        if (window)
            window->close();
    }
}

} // namespace velmora
