#pragma once

#include "core/subjects/rowfault.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <array>

namespace velmora {

// The columns of a subject row; column 0 is the row number.
enum Column : int {
    NumberColumn = 0,
    SurnameColumn,
    NameColumn,
    SexColumn,
    TaxCodeColumn,
    CuiColumn,
    FatherColumn,
    BirthDateColumn,
    MunicipalityColumn,
    ForeignPlaceColumn,
    StateColumn,
    MunicipalityCodeColumn,
    StateCodeColumn,
    ColumnCount
};

inline const std::array<QString, ColumnCount> kColumnHeaders = {
    QString(),
    QStringLiteral("Cognome *"),
    QStringLiteral("Nome *"),
    QStringLiteral("Sesso *"),
    QStringLiteral("Codice Fiscale **"),
    QStringLiteral("CUI"),
    QStringLiteral("Paternita"),
    QStringLiteral("Data di nascita *"),
    QStringLiteral("Comune Italiano **"),
    QStringLiteral("Comune Straniero"),
    QStringLiteral("Stato *"),
    QStringLiteral("Cod Comune (non modificabile)"),
    QStringLiteral("Cod Stato (non modificabile)"),
};

// Column widths in twips (15 twips are one pixel on the usual screen).
inline constexpr std::array<int, ColumnCount> kColumnTwips = {
    650, 2200, 2200, 670, 2000, 950, 2200, 1300, 2200, 2200, 1900, 2300, 2100};

// The twelve values of one person, columns 1 to 12 (index 0 unused).
using SubjectValues = std::array<QString, ColumnCount>;

// The twelve values of one person as the table holds them: one text after another in a single
// string, so that a row costs one allocation however many values it has, and a check or a
// writer reads each value as a view of it.
class SubjectRow {
public:
    // Values as views, columns 1 to 12 (index 0, the row number, is never stored).
    using Views = std::array<QStringView, ColumnCount>;

    SubjectRow() = default;
    explicit SubjectRow(const Views& values);
    explicit SubjectRow(const SubjectValues& values);

    QStringView operator[](Column column) const {
        const qsizetype start = column == NumberColumn ? 0 : ends_[column - 1];
        return QStringView(text_).sliced(start, ends_[column] - start);
    }
    SubjectValues values() const;
    bool operator==(const SubjectRow&) const = default;

private:
    QString text_;
    std::array<qsizetype, ColumnCount> ends_{}; // where each column's value ends in text_
};

} // namespace velmora

// Texts are moved as bytes, and so are rows of them: deleting a row shifts those below it with
// one memmove.
Q_DECLARE_TYPEINFO(velmora::SubjectValues, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(velmora::SubjectRow, Q_RELOCATABLE_TYPE);

namespace velmora {

// The table of subjects, the only store of them. Rows are numbered as the grid shows them:
// row 0 is the header row, data rows are 1 to subjectCount(). Model row i is data row i + 1.
class SubjectTable : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kMaxRows = 32767; // row numbers are 16-bit
    // A row's verdict of the last batch check: as a RowFault, None for a row not marked; its
    // warnings, one a line, empty for none.
    enum Role { FaultRole = Qt::UserRole + 1, WarningRole };

    using QAbstractTableModel::QAbstractTableModel;

    int subjectCount() const { return int(rows_.size()); }
    // One value of a data row, columns 1 to 12, as the table holds it: the checks and the
    // writers read every row and copy nothing.
    QStringView text(int row, Column column) const { return rows_.at(row - 1)[column]; }
    const SubjectRow& subject(int row) const { return rows_.at(row - 1); }
    SubjectValues values(int row) const { return rows_.at(row - 1).values(); }
    // Why the batch check refused the row; None while no check marked it.
    RowFault fault(int row) const { return verdicts_.at(row - 1).fault; }
    // What the last check warned of on the row, one warning a line; empty when nothing.
    const QString& warnings(int row) const { return verdicts_.at(row - 1).warnings; }

    // Empties the table: header row only.
    void layOut();
    // Appends rows after the last one, numbered on, in one insertion. Returns the first new row.
    // Into an empty table the list itself is taken, so an import's rows are never held twice.
    // The table grows by doubling: adding rows one at a time costs the same per row at any size.
    int appendRows(QList<SubjectRow> subjects);
    int appendRow(const SubjectValues& subject) { return appendRows({SubjectRow(subject)}); }
    // Columns 1 to 12 of `row`; the number and the verdict stay.
    void setValues(int row, const SubjectValues& subject);
    // Marks the row with the batch check's verdict; None takes a mark away.
    void setFault(int row, RowFault fault);
    void setWarnings(int row, const QString& warnings);
    // Deletes `row`: the rows below move up with their values and verdicts, and the numbers stay
    // 1 to subjectCount(). One removal, whatever the size of the table; the views hear of the
    // numbers below as changed row headers.
    void removeRow(int row);
    // Keeps the first `count` data rows and drops the rest, in one removal.
    void keepRows(int count);
    // Rows `from` to the last, taken out of the table with their values (not their verdicts),
    // the table keeping the rows before; from row 1 the whole table goes in one reset.
    QList<SubjectRow> takeRows(int from);
    // Puts `subject` back as `row` (1 to subjectCount() + 1), the rows from there on moving down
    // one: what removeRow() took out, without a verdict.
    void insertRow(int row, SubjectRow subject);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Verdict {
        RowFault fault = RowFault::None;
        QString warnings;
    };
    // Row i's values and verdict at index i - 1 of each list.
    QList<SubjectRow> rows_;
    QList<Verdict> verdicts_;
};

} // namespace velmora
