#include "gui/recoverykeeper.h"

#include "core/clock.h"
#include "core/files/filewriter.h"
#include "core/paths.h"
#include "core/text/textfile.h"
#include "gui/messages.h"
#include "gui/principale.h"
#include "gui/program.h"
#include "gui/widgets/filteredit.h"
#include "gui/widgets/maskeddateedit.h"
#include "gui/widgets/subjectgrid.h"

#include <QDir>
#include <QFile>
#include <algorithm>

namespace velmora {
namespace {

const QString kNotKept =
    QStringLiteral("La richiesta in corso non pu\u00F2 essere conservata per una ripresa:\r\n%1");

bool hasDigit(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

} // namespace

RecoveryKeeper::RecoveryKeeper(Program& program, Principale& window)
    : program_(program), window_(window) {
    timer_.setSingleShot(true);
    timer_.setInterval(kDelayMs);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::write);

    SubjectTable& table = program_.table;
    connect(&table, &QAbstractItemModel::rowsInserted, this, &RecoveryKeeper::changed);
    connect(&table, &QAbstractItemModel::rowsRemoved, this, &RecoveryKeeper::changed);
    connect(&table, &QAbstractItemModel::dataChanged, this, &RecoveryKeeper::changed);
    connect(&table, &QAbstractItemModel::modelReset, this, &RecoveryKeeper::changed);
    connect(window_.Combo1, &QComboBox::currentIndexChanged, this, &RecoveryKeeper::changed);
    connect(window_.Text3, &QPlainTextEdit::textChanged, this, &RecoveryKeeper::changed);
    connect(window_.Text1, &QLineEdit::textChanged, this, &RecoveryKeeper::changed);
    connect(window_.MaskEdBox1, &QLineEdit::textChanged, this, &RecoveryKeeper::changed);
    connect(window_.Check1, &QCheckBox::toggled, this, &RecoveryKeeper::changed);
    // The splash window closes on this tick; the question comes after it.
    connect(&window_.Timer2, &QTimer::timeout, this, &RecoveryKeeper::offer);
    // Closing asks nothing; a change still waiting is kept all the same.
    connect(&window_, &Principale::closed, this, &RecoveryKeeper::flush);
}

RequestValues RecoveryKeeper::current() const {
    RequestValues values;
    values.certPosition = window_.Combo1->currentIndex();
    values.purpose = window_.Text3->toPlainText();
    values.protocolNumber = window_.Text1->text();
    const QString date = window_.MaskEdBox1->shownText();
    if (hasDigit(date))
        values.protocolDate = date;
    values.german = window_.Check1->isChecked();
    return values;
}

void RecoveryKeeper::offer() {
    if (armed_)
        return;
    fresh_ = current();
    QFile file(workingPath(kRecoveryFile));
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) {
            if (!putDamagedAside(file.errorString()))
                return;
        } else {
            const Result<RecoveryRead> read = readRecovery(file.readAll());
            file.close();
            QString why = read.error();
            if (read && holdsWork(read->request, read->subjects, fresh_)) {
                if (!program_.messages.ask(recoveryQuestion(*read), Messages::Icon::Exclamation,
                                           false)) {
                    const Result<QString> aside = moveRecoveryAside(QDir::currentPath());
                    if (!aside) {
                        program_.messages.show(aside.error(), Messages::Icon::Critical);
                        return; // the file stays as it is, unwritten for this run
                    }
                } else if (!restore(*read, why) && !putDamagedAside(why)) {
                    return;
                }
            } else if (!read && !putDamagedAside(why)) {
                return;
            }
        }
    }
    armed_ = true;
}

bool RecoveryKeeper::restore(const RecoveryRead& read, QString& why) {
    Result<QList<SubjectRow>> rows =
        recoveredSubjects(read, program_.municipalities, program_.states);
    if (!rows) {
        why = rows.error();
        return false;
    }
    restoring_ = true;
    const RequestValues& request = read.request;
    if (request.certPosition >= 0) {
        window_.Combo1->setCurrentIndex(request.certPosition);
        window_.Combo1_Click();
    }
    window_.Text3->setPlainText(request.purpose);
    window_.Text1->setText(request.protocolNumber);
    if (!request.protocolDate.isEmpty())
        window_.MaskEdBox1->setText(request.protocolDate);
    window_.Check1->setChecked(request.german);
    if (!rows->isEmpty()) {
        program_.table.appendRows(std::move(*rows));
        window_.MSFlexGrid1->setCurrentCell(program_.table.progressivo(), SurnameColumn);
        // As after an import: the create command checks every row before the output.
        program_.importoFile = true;
    }
    restoring_ = false;
    return true;
}

bool RecoveryKeeper::putDamagedAside(const QString& why) {
    const Result<QString> aside = moveRecoveryAside(QDir::currentPath());
    if (!aside) {
        program_.messages.show(aside.error(), Messages::Icon::Critical);
        return false;
    }
    program_.messages.show(damagedRecoveryMessage(*aside, why), Messages::Icon::Critical);
    return true;
}

void RecoveryKeeper::changed() {
    if (armed_ && !restoring_ && !timer_.isActive())
        timer_.start();
}

void RecoveryKeeper::flush() {
    if (timer_.isActive())
        write();
}

void RecoveryKeeper::write() {
    timer_.stop();
    const QString path = workingPath(kRecoveryFile);
    const RequestValues request = current();
    if (!holdsWork(request, program_.table.progressivo(), fresh_)) {
        QFile::remove(path); // nothing to take back: no question at the next start
        return;
    }
    const Result<QByteArray> bytes = recoveryBytes(request, program_.table, program_.clock.now());
    const Status written =
        bytes ? writeFile(path, *bytes) : Status(Failure{cannotWrite(path, bytes.error())});
    const QString& error = written.error();
    if (error.isEmpty()) {
        warned_ = false;
        return;
    }
    if (!warned_)
        program_.messages.show(kNotKept.arg(error), Messages::Icon::Exclamation);
    warned_ = true;
}

} // namespace velmora
