#include "core/subjects/subjectsearch.h"
#include "core/subjects/subjecttable.h"
#include "support/places.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace velmora;

class TestSubjectTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A deletion is one removal: the rows below move up with their values and verdicts, and
    // the numbers stay 1 to the count.
    void removeRowIsOneRemoval() {
        SubjectTable table;
        QAbstractItemModelTester tester(&table);
        test::fillNumbered(table, 1000);
        table.setFault(1000, RowFault::Sex);
        QSignalSpy removed(&table, &SubjectTable::rowsRemoved);
        QSignalSpy changed(&table, &SubjectTable::dataChanged);
        QSignalSpy reset(&table, &SubjectTable::modelReset);
        table.removeRow(1);
        QVERIFY(removed.size() == 1 && changed.isEmpty() && reset.isEmpty());
        QCOMPARE(table.headerData(998, Qt::Vertical).toString(), "999");
        QCOMPARE(table.text(999, SurnameColumn), u"S1000");
        QCOMPARE(table.fault(999), RowFault::Sex);
        QCOMPARE(table.fault(998), RowFault::None);
        table.setValues(999, test::romanSubject()); // new values keep the verdict
        QCOMPARE(table.fault(999), RowFault::Sex);
    }

    // Surname, name and tax code, accents and case ignored, round the table either way; the
    // marked rows likewise, and their count.
    void findAndCount() {
        SubjectTable table;
        QCOMPARE(std::tuple(findSubject(table, u"A", 0, true), nextMarkedRow(table, 0)),
                 std::tuple(0, 0));
        SubjectValues angelo = test::romanSubject();
        angelo[SurnameColumn] = QStringLiteral("D'\u00C0NGELO");
        table.appendRows(test::rowsOf(
            {test::romanSubject(), test::parisianSubject(), test::romanSubject(), angelo}));
        const auto find = [&table](const char16_t* text, int from, bool forward = true) {
            return findSubject(table, text, from, forward);
        };
        QCOMPARE(std::tuple(find(u"rossi", 0), find(u"rossi", 1), find(u"rossi", 3)),
                 std::tuple(1, 3, 1));
        QCOMPARE(std::tuple(find(u"rossi", 1, false), find(u"rossi", 0, false)), std::tuple(3, 3));
        QCOMPARE(std::tuple(find(u"jose", 0), find(u"\u00E0ngelo", 0), find(u"h501f", 1)),
                 std::tuple(2, 4, 3));
        QCOMPARE(std::tuple(find(u"xyz", 0), find(u"  ", 0), find(u"rossi", 4)),
                 std::tuple(0, 0, 1));
        // Typing looks at the current row first; the next and previous finds move on from it.
        QCOMPARE(std::tuple(findSubject(table, u"rossi", 3, FindStep::AsTyped),
                            findSubject(table, u"rossi", 3, FindStep::Next),
                            findSubject(table, u"rossi", 3, FindStep::Previous),
                            findSubject(table, u"rossi", 0, FindStep::AsTyped)),
                 std::tuple(3, 1, 1, 1));
        QCOMPARE(subjectCounts(table), "4 soggetti");
        table.setFault(2, RowFault::Name);
        table.setWarnings(4, QStringLiteral("stesso codice fiscale della riga 1"));
        QCOMPARE(
            std::tuple(nextMarkedRow(table, 0), nextMarkedRow(table, 2), nextMarkedRow(table, 4)),
            std::tuple(2, 4, 2));
        QCOMPARE(subjectCounts(table), "4 soggetti, 1 con errori, 1 con avvisi");
        table.keepRows(1);
        QCOMPARE(subjectCounts(table), "1 soggetto");
    }
};

QTEST_GUILESS_MAIN(TestSubjectTable)
#include "tst_subjecttable.moc"
