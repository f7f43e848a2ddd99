#pragma once

#include "core/subjects/personcode.h"
#include "core/subjects/subjecttable.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace velmora {

// One person as the entry window holds it, every value taken as it stands (no trimming, no
// change of case).
struct PersonFields {
    QString surname;
    QString name;
    QString sex; // "M", "F" or "" (neither button)
    QString taxCode;
    QString cui;
    QString father;
    QString birthDate; // as the field shows it: "dd/mm/yyyy", "__/__/____" or ""
    QString municipality;
    QString foreignPlace;
    QString state;
    QString municipalityCode; // as the lookup found it
    QString stateCode;        // as the lookup found it
};

// A rule the person fails: its number (1 to 12), its line of the message, and the field to
// mark, named by its table column (SexColumn stands for both sex buttons).
struct FailedRule {
    int rule = 0;
    QString line;
    Column field = NumberColumn;
    bool operator==(const FailedRule&) const = default;
};

// The twelve subject rules, in message order; empty when the person may be saved.
QList<FailedRule> checkPersonFields(const PersonFields& person, const QDateTime& now);

// The message that lists the failed rules.
QString personErrorsMessage(const QList<FailedRule>& failed);

// Why no subject can be added to a table of SubjectTable::kMaxRows rows.
QString tableFullMessage();

// The person's values as a tax code is composed from them: the municipality's code, or the
// state's for a person born abroad.
CodePerson codePerson(const PersonFields& person);

inline const QString kTaxCodeQuestion =
    QStringLiteral("Si sta inserendo un codice fiscale diverso da quello atteso. Continuare?");
// What the operator is asked before a person who passes every rule is saved, or an empty text
// when nothing needs asking; at most one question. First a tax code that disagrees with the
// person, with the expected code (the check character alone: kTaxCodeQuestion), then a tax
// code already in a row of `table` other than `changedRow` (0 for a new row).
QString insertQuestion(const PersonFields& person, const SubjectTable& table, int changedRow);

// The table row of the person, columns 1 to 12.
SubjectValues subjectRow(const PersonFields& person);

// The row a save writes over, or 0 for a new row at the end. A modification whose row is no
// longer in the table (the table was emptied while the entry window stood open) is saved as
// a new subject rather than over the header row.
int rowToWrite(bool adding, int currentRow, int rowCount);

} // namespace velmora
