#include "core/subjects/rowwarnings.h"
#include "support/places.h"

#include <QTest>

using namespace velmora;
using namespace velmora::test;

class TestRowWarnings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each wording once; repeats of a code (whatever its case) and of a person without a code,
    // named by the first earlier row; a failing row warns of nothing but is the first of its
    // code all the same.
    void warningsInRowOrder() {
        SubjectValues maria = romanSubject(); // MARIO's code on a woman
        maria[NameColumn] = "MARIA";
        maria[SexColumn] = "F";
        SubjectValues luca = romanSubject(); // MARIO's code, small letters, on LUCA BIANCHI
        luca[SurnameColumn] = "BIANCHI";
        luca[NameColumn] = "LUCA";
        luca[TaxCodeColumn] = "rssmra70a05h501f";
        SubjectValues failing = parisianSubject();
        failing[SexColumn] = "X";
        SubjectTable table;
        table.appendRows(rowsOf({failing, romanSubject(), maria, luca, parisianSubject(),
                                 parisianSubject(), romanSubject()}));
        QStringList lines;
        for (const RowWarning& warning : rowWarnings(
                 table, failingRowChecks(table, QDateTime(QDate(2010, 3, 15), QTime(9, 0)))))
            lines << QString::number(warning.row) + ": " + rowWarningText(warning);
        QCOMPARE(lines,
                 (QStringList{
                     "3: avviso: il codice fiscale non corrisponde ai dati anagrafici (giorno di "
                     "nascita o sesso)",
                     "3: avviso: stesso codice fiscale della riga 2",
                     "4: avviso: il codice fiscale non corrisponde ai dati anagrafici (cognome, "
                     "nome)",
                     "4: avviso: stesso codice fiscale della riga 2",
                     "6: avviso: stessi dati anagrafici della riga 5",
                     "7: avviso: stesso codice fiscale della riga 2"}));
        QCOMPARE(warnedRowsQuestion(1),
                 "1 soggetto ha un avviso (vedere i dettagli). Creare comunque i file?");
    }
};

QTEST_GUILESS_MAIN(TestRowWarnings)
#include "tst_rowwarnings.moc"
