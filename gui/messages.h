#pragma once

#include <QString>
#include <functional>

namespace velmora {

inline const QString kAppTitle = QStringLiteral("VELMORA");

// Message boxes, swappable so that tests can read what the operator was told.
class Messages {
public:
    enum class Icon { Exclamation, Critical, Information };

    virtual ~Messages() = default;
    // `detail`, when given, is shown on demand below the text, one item a line.
    virtual void show(const QString& text, Icon icon, const QString& title = kAppTitle,
                      const QString& detail = {}) = 0;
    // A Yes/No question; true for Yes. `defaultNo` puts the default on No. `detail` as with show().
    virtual bool ask(const QString& text, Icon icon, bool defaultNo,
                     const QString& detail = {}) = 0;
};

// Warnings of the fields and choosers, shown as exclamation boxes.
inline std::function<void(const QString&)> warningsTo(Messages& messages) {
    return [&messages](const QString& text) { messages.show(text, Messages::Icon::Exclamation); };
}

} // namespace velmora
