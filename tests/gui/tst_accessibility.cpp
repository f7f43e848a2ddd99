// What a screen reader, a keyboard and a low-vision operator get of every window: names, the
// Tab order, mnemonics, and the contrast of text under three colour schemes.
#include "gui/characterpalette.h"
#include "gui/cleartabledialog.h"
#include "gui/importdialog.h"
#include "gui/officedialog.h"
#include "gui/subjectdialog.h"
#include "gui/widgets/filteredit.h"
#include "gui/widgets/subjectgrid.h"
#include "support/fixture.h"
#include "support/places.h"
#include "support/windows.h"

#include <QAccessible>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <cmath>

using namespace velmora;
using namespace velmora::test;

namespace {

// The main window and the windows it opens, each shown once: what the operator meets.
struct AllWindows : Started {
    AllWindows() {
        writePlaceTables(folder);
        program.table.appendRow(romanSubject());
        control<QAbstractButton>(main, "insertSubjectButton")->click();
        control<QAbstractButton>(*shownWindow<SubjectDialog>(), "surnamePaletteButton")->click();
        control<QAction>(main, "officeDataAction")->trigger();
        control<QAbstractButton>(main, "importButton")->click();
        control<QAbstractButton>(main, "clearTableButton")->click();
        windows = {&main,
                   shownWindow<SubjectDialog>(),
                   shownWindow<CharacterPalette>(),
                   shownWindow<OfficeDialog>(),
                   shownWindow<ImportDialog>(),
                   shownWindow<ClearTableDialog>()};
    }
    QList<QWidget*> windows;
};

// Every focusable object a screen reader reaches under `node`: its name must say what it is,
// not repeat its value nor the title of the group around it. Item views are judged as a whole.
void checkNames(QAccessibleInterface* node, const QString& groupTitle, QStringList& faults) {
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (!child || child->state().invisible)
            continue;
        QString name = child->text(QAccessible::Name);
        // On Linux Qt gives a list's value as its name: its caption comes as the label it is
        // labelled by, which is what a screen reader says.
        if (child->role() == QAccessible::ComboBox) {
            const auto labels = child->relations(QAccessible::Label);
            name = labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
        }
        // An item view gives its name as its value too: its rows are what it holds.
        const QAccessible::Role role = child->role();
        const bool view =
            role == QAccessible::Table || role == QAccessible::List || role == QAccessible::Tree;
        if (child->state().focusable && (name.isEmpty() || name == groupTitle ||
                                         (!view && name == child->text(QAccessible::Value))))
            faults << QStringLiteral("%1: \"%2\"").arg(child->object()->objectName(), name);
        const auto* box = qobject_cast<const QGroupBox*>(child->object());
        if (!view)
            checkNames(child, box ? box->title() : groupTitle, faults);
    }
}

// The objects the Tab key visits from `first`, in order, once round, blank-separated.
QString tabOrder(QWidget* first) {
    QStringList visited;
    QWidget* widget = first;
    do {
        if (widget->isVisibleTo(first->window()) && widget->isEnabled() &&
            (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy())
            visited << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != first && visited.size() < 100);
    return visited.join(u' ');
}

// The letter after '&', in capitals; none without one.
QChar mnemonic(const QString& text) {
    const qsizetype at = text.indexOf(u'&');
    return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toUpper() : QChar();
}

// WCAG's contrast ratio of two colours.
double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        double sum = 0.05;
        for (const auto& [value, weight] :
             {std::pair{c.redF(), 0.2126}, {c.greenF(), 0.7152}, {c.blueF(), 0.0722}})
            sum += weight *
                   (value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4));
        return sum;
    };
    return std::max(luminance(a), luminance(b)) / std::min(luminance(a), luminance(b));
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void namesAndMnemonics();
    void ownedCentredAndLeftWithEsc();
    void textReadableInEveryScheme_data();
    void textReadableInEveryScheme();
};

// A name for every control; Alt and a letter for every button, caption and menu, no two alike in
// a window (the sex buttons are reached through their group's caption, the palette's keys are
// typed); the formats of the dates told; the grid's cells without the hidden number column.
void TestAccessibility::namesAndMnemonics() {
    QAccessible::setActive(true);
    presentOwnedWindowsAsDialogs();
    AllWindows all;
    for (QWidget* window : all.windows) {
        QStringList faults;
        checkNames(QAccessible::queryAccessibleInterface(window), QString(), faults);
        QVERIFY2(faults.isEmpty(), qPrintable(window->objectName() + ": " + faults.join(", ")));
        if (qobject_cast<CharacterPalette*>(window))
            continue;
        QStringList captions;
        for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            if (!button->text().isEmpty() && button->window() == window &&
                button->isVisibleTo(window) && !qobject_cast<const QRadioButton*>(button))
                captions << button->text();
        }
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (label->buddy() && label->window() == window)
                captions << label->text();
        }
        if (const auto* bar = window->findChild<QMenuBar*>()) {
            for (const QAction* menu : bar->actions())
                captions << menu->text();
        }
        QSet<QChar> keys;
        for (const QString& caption : captions) {
            QVERIFY2(!mnemonic(caption).isNull() && !keys.contains(mnemonic(caption)),
                     qPrintable(caption));
            keys.insert(mnemonic(caption));
        }
    }
    for (const char* entry : {"exportAction", "officeDataAction", "manualAction"})
        QVERIFY(!mnemonic(control<QAction>(all.main, entry)->text()).isNull());
    auto& entry = *shownWindow<SubjectDialog>();
    for (QWidget* date : {control(all.main, "protocolDateEdit"), control(entry, "birthDateEdit")}) {
        QCOMPARE(date->accessibleDescription(), QStringLiteral("gg/mm/aaaa"));
        QCOMPARE(static_cast<QLineEdit*>(date)->placeholderText(), QStringLiteral("gg/mm/aaaa"));
    }
    QCOMPARE(control(entry, "sexGroup")->accessibleName(), QStringLiteral("Sesso"));
    QCOMPARE(QAccessible::queryAccessibleInterface(&entry)->role(), QAccessible::Dialog);
    QAccessibleTableInterface* grid =
        QAccessible::queryAccessibleInterface(control(all.main, "subjectGrid"))->tableInterface();
    QCOMPARE(grid->columnCount(), ColumnCount - 1);
    QCOMPARE(grid->columnDescription(0), kColumnHeaders[SurnameColumn]);
    // The Tab orders; one Tab leaves the grid, whose arrows move inside it.
    QCOMPARE(tabOrder(control(all.main, "officeTypeEdit")),
             "officeTypeEdit certificateTypeCombo purposeEdit protocolNumberEdit germanCheck "
             "protocolDateEdit calendarButton subjectGrid insertSubjectButton changeSubjectButton "
             "deleteSubjectButton importButton clearTableButton createFilesButton pdfFormButton "
             "exitButton");
    QCOMPARE(tabOrder(control(*shownWindow<SubjectDialog>(), "surnameEdit")),
             "surnameEdit surnamePaletteButton nameEdit namePaletteButton maleRadio femaleRadio "
             "taxCodeEdit computeTaxCodeButton cuiEdit fatherEdit fatherPaletteButton "
             "birthDateEdit birthCalendarButton municipalityCombo foreignPlaceEdit "
             "foreignPlacePaletteButton stateCombo insertButton clearButton cancelButton");
    QVERIFY(!control<SubjectGrid>(all.main, "subjectGrid")->tabKeyNavigation());
}

// Each window belongs to the one that opened it and opens over the main window (the palette
// beside its button); Esc leaves it, the palette alone.
void TestAccessibility::ownedCentredAndLeftWithEsc() {
    AllWindows all;
    QWidget* entry = all.windows[1];
    QWidget* palette = all.windows[2];
    QCOMPARE(palette->parentWidget(), entry);
    for (auto window = all.windows.crbegin(); *window != &all.main; ++window) {
        const QPoint offCentre = (*window)->geometry().center() - all.main.geometry().center();
        QVERIFY(*window == palette ||
                ((*window)->parentWidget() == &all.main && offCentre.manhattanLength() < 40));
        QTest::keyClick(*window, Qt::Key_Escape);
        QVERIFY(gone(*window));
        QVERIFY(*window != palette || entry->isVisible());
    }
}

void TestAccessibility::textReadableInEveryScheme_data() {
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << QApplication::style()->standardPalette();
    // Text, then the window's colour everywhere but the fields' background.
    const auto scheme = [](const QColor& text, const QColor& window, const QColor& field) {
        return QPalette(text, window, window, window, window, text, text, field, window);
    };
    QTest::newRow("dark") << scheme(QColor(0xEEEEEE), QColor(0x2B2B2B), QColor(0x1E1E1E));
    QTest::newRow("high contrast") << scheme(Qt::yellow, Qt::black, Qt::black);
}

// Every enabled control that shows text shows it at 4.5:1 at least against its background.
void TestAccessibility::textReadableInEveryScheme() {
    QFETCH(QPalette, palette);
    const QPalette before = QApplication::palette();
    QApplication::setPalette(palette);
    {
        AllWindows all;
        for (QWidget* window : all.windows) {
            for (QWidget* widget : window->findChildren<QWidget*>()) {
                if (widget->window() != window || !widget->isVisibleTo(window) ||
                    !widget->isEnabled())
                    continue;
                const bool field =
                    qobject_cast<QLineEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget);
                const QPalette& own = widget->palette();
                const QColor text = own.color(field ? QPalette::Text : widget->foregroundRole());
                const QColor back = own.color(field ? QPalette::Base : widget->backgroundRole());
                QVERIFY2(
                    contrast(text, back) >= 4.5,
                    qPrintable(widget->objectName() + ": " + text.name() + " on " + back.name()));
            }
        }
    }
    QApplication::setPalette(before);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
