#pragma once

#include <QString>

namespace velmora {

// The desktop's "open with the default program".
class Shell {
public:
    virtual ~Shell() = default;
    // False when the desktop could not open the document.
    virtual bool open(const QString& path) = 0;
};

} // namespace velmora
