#include "gui/program.h"

#include "core/paths.h"
#include "gui/attesa.h"
#include "gui/avvisotabella.h"
#include "gui/calendar.h"
#include "gui/creafiles.h"
#include "gui/datiutente.h"
#include "gui/diacritici.h"
#include "gui/frmsplash.h"
#include "gui/importafile.h"
#include "gui/insertpersona.h"
#include "gui/messages.h"
#include "gui/principale.h"

namespace velmora {

Program::Program(Messages& messages, Shell& shell, Clock& clock)
    : messages(messages), shell(shell), clock(clock) {}

Program::~Program() {
    // Windows made on first use are top-level and belong to the program.
    delete configWindow_.data();
    delete outputWindow_.data();
    delete importWindow_.data();
    delete splash_.data();
    delete waitWindow_.data();
    delete calendar_.data();
    delete clearTableWindow_.data();
    delete palette_.data();
    delete entryWindow_.data();
    delete principale_.data();
}

ConfigRead Program::readConfig() {
    return ReadConfig(workingPath(kConfigFile), config);
}

bool Program::writeConfig() {
    const Status written = WriteConfig(workingPath(kConfigFile), config);
    if (written)
        return true;
    messages.show(configWriteFailure(written.error()), Messages::Icon::Critical);
    return false;
}

ConfigRead Program::reloadConfig() {
    const QString officeType = config.OfficeType;
    const ConfigRead read = readConfig();
    if (!officeType.isEmpty())
        config.OfficeType = officeType;
    return read;
}

void Program::closeIfOpen(QWidget* window) {
    if (window)
        window->close();
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
    closeIfOpen(outputWindow_);
}

ImportaFile& Program::importWindow() {
    return reach(importWindow_);
}

frmSplash& Program::splash() {
    return reach(splash_);
}

void Program::closeSplash() {
    closeIfOpen(splash_);
}

attesa& Program::waitWindow() {
    return reach(waitWindow_);
}

void Program::closeWaitWindow() {
    closeIfOpen(waitWindow_);
}

Calendar& Program::calendar() {
    return reach(calendar_);
}

AvvisoTabella& Program::clearTableWindow() {
    return reach(clearTableWindow_);
}

InsertPersona& Program::entryWindow() {
    return reach(entryWindow_);
}

diacritici& Program::palette() {
    return reach(palette_);
}

void Program::closePalette() {
    closeIfOpen(palette_);
}

void Program::closeOtherWindows() {
    // The order the main window's close wants; the wait window last.
    const QPointer<QWidget> windows[] = {
        splash_.data(),       importWindow_.data(), entryWindow_.data(),
        calendar_.data(),     outputWindow_.data(), clearTableWindow_.data(),
        configWindow_.data(), palette_.data(),      waitWindow_.data()};
    for (const auto& window : windows)
        closeIfOpen(window);
}

} // namespace velmora
