#pragma once

#include <QString>

namespace velmora {

// The current user's desktop folder, or "" when the system names none or it is not on disk.
QString desktopFolder();

} // namespace velmora
