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
};

QTEST_GUILESS_MAIN(TestSubjectTable)
#include "tst_subjecttable.moc"
