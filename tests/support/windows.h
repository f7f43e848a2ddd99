#pragma once

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QWidget>

namespace velmora::test {

// The shown top-level window of a class, or none.
template <typename Window> Window* shownWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

// Closed windows are deleted once the event loop runs.
inline bool gone(QWidget* window) {
    const QPointer<QWidget> watched(window);
    return QTest::qWaitFor([&] { return watched.isNull(); });
}

} // namespace velmora::test
