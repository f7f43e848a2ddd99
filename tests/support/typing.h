#pragma once

#include <QTest>
#include <QWidget>

namespace velmora::test {

// Types `text` into `widget` as key presses; unlike QTest::keyClicks it also takes letters
// beyond ASCII (à, È, ß), each sent with its own text as a real keyboard would.
inline void typeKeys(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c == u'\r') {
            QTest::keyClick(widget, Qt::Key_Return);
            continue;
        }
        const auto key = Qt::Key(c.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Press, widget, key, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, key, QString(c), Qt::NoModifier);
    }
}

} // namespace velmora::test
