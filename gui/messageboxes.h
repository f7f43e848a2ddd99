#pragma once

#include "gui/messages.h"
#include "gui/shell.h"

namespace velmora {

class MessageBoxes final : public Messages {
public:
    void show(const QString& text, Icon icon, const QString& title = kAppTitle,
              const QString& detail = {}) override;
    bool ask(const QString& text, Icon icon, bool defaultNo, const QString& detail = {}) override;
};

class DesktopShell final : public Shell {
public:
    bool open(const QString& path) override;
};

} // namespace velmora
