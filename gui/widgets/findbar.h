#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

namespace velmora {

// The find bar above the subject grid: "Trova:" and the text, searched as it is typed. Esc
// closes it; the next and previous finds (F3, Shift+F3) are the main window's commands.
class FindBar : public QWidget {
    Q_OBJECT
public:
    explicit FindBar(QWidget* parent = nullptr);

    // Shown, with the caret in the text, which is selected to be typed over.
    void open();
    QString text() const;
    // "Nessun soggetto trovato" beside the text when `found` is false and something is typed.
    void showFound(bool found);

Q_SIGNALS:
    void textEdited(const QString& text);
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void dismiss();

    QLineEdit* findEdit;
    QLabel* notFoundLabel;
};

} // namespace velmora
