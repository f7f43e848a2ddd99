#pragma once

#include "gui/widgets/folderchooser.h"

#include <QApplication>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QListView>
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

// A control of `window` by its objectName. Tests reach controls only so; one that is not there
// stops the run, naming it.
template <typename Control = QWidget> Control* control(const QObject& window, const char* name) {
    auto* found = window.findChild<Control*>(QLatin1String(name));
    if (!found)
        qFatal("%s has no %s named %s", qPrintable(window.objectName()),
               Control::staticMetaObject.className(), name);
    return found;
}

// Closed windows are deleted once the event loop runs.
inline bool gone(QWidget* window) {
    const QPointer<QWidget> watched(window);
    return QTest::qWaitFor([&] { return watched.isNull(); });
}

inline FolderChooser& folderChooser(const QWidget& window) {
    return *control<FolderChooser>(window, "folderChooser");
}

// What the operator picks in a window's file list.
inline void chooseFile(const QWidget& window, const QString& path) {
    FolderChooser& folders = folderChooser(window);
    QVERIFY(folders.setFolder(QFileInfo(path).absolutePath()));
    auto* list = control<QListView>(folders, "fileList");
    auto* model = static_cast<QFileSystemModel*>(list->model());
    QTRY_VERIFY(model->index(path).isValid());
    list->setCurrentIndex(model->index(path));
}

} // namespace velmora::test
