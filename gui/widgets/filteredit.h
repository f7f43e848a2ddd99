#pragma once

#include "core/keyfilter.h"
#include "gui/widgets/widgets.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace velmora {

// Typing into a filtered field: every character, typed, pasted, dropped or sent by the
// special-character palette, goes through the field's KeyFilter as if keyed in.
class KeyTyping {
public:
    void setFilter(KeyFilter filter) { filter_ = std::move(filter); }
    void setWarning(Warning warning) { warning_ = std::move(warning); }
    const KeyFilter& filter() const { return filter_; }

    // Types `text` one character at a time; stops at the first refusal, after its message. A
    // character the field drops is told under it, where a screen reader hears it too.
    template <typename Field> void type(Field& field, const QString& text);

private:
    bool typeOne(QChar key, qsizetype length, QChar* insert);
    static void tellDropped(QWidget& field, QChar key);

    KeyFilter filter_;
    Warning warning_;
};

// One-line field; Enter and Tab keep their usual meaning (default button, focus chain).
class FilteredLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit FilteredLineEdit(QWidget* parent = nullptr);
    void setKeyFilter(KeyFilter filter, Warning warning);
    void typeText(const QString& text);

Q_SIGNALS:
    void focusLost();
    // Ctrl+Space: the operator wants the special-character palette for this field.
    void paletteAsked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    friend class KeyTyping;
    // A selection is replaced by what is typed: it does not count towards the limit.
    qsizetype typedLength() const { return text().size() - selectedText().size(); }
    void insertTyped(QChar c) { insert(QString(c)); }

    KeyTyping typing_;
};

// Multi-line field; Enter is a key like any other and the filter decides.
class FilteredTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit FilteredTextEdit(QWidget* parent = nullptr);
    void setKeyFilter(KeyFilter filter, Warning warning);
    void typeText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    friend class KeyTyping;
    qsizetype typedLength() const {
        return toPlainText().size() - textCursor().selectedText().size();
    }
    void insertTyped(QChar c) { insertPlainText(QString(c)); }

    KeyTyping typing_;
};

template <typename Field> void KeyTyping::type(Field& field, const QString& text) {
    for (const QChar key : text) {
        QChar insert;
        if (!typeOne(key, field.typedLength(), &insert))
            return;
        if (!insert.isNull())
            field.insertTyped(insert);
        else
            tellDropped(field, key);
    }
}

} // namespace velmora
