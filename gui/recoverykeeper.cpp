#include "gui/recoverykeeper.h"

#include "core/clock.h"
#include "core/files/filewriter.h"
#include "gui/messages.h"
#include "gui/program.h"

#include <QFile>

namespace velmora {
namespace {

const QString kNotKept =
    QStringLiteral("La richiesta in corso non pu\u00F2 essere conservata per una ripresa:\r\n%1");
const QString kTooLarge = QStringLiteral("il file supera la grandezza massima di %1 MiB");

} // namespace

RecoveryKeeper::RecoveryKeeper(Program& program) : program_(program) {
    timer_.setSingleShot(true);
    timer_.setInterval(kDelayMs);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::write);
    retry_.setSingleShot(true);
    retry_.setInterval(kRetryMs);
    connect(&retry_, &QTimer::timeout, this, &RecoveryKeeper::write);

    SubjectTable& table = program_.table;
    connect(&table, &QAbstractItemModel::rowsInserted, this, &RecoveryKeeper::changed);
    connect(&table, &QAbstractItemModel::rowsRemoved, this, &RecoveryKeeper::changed);
    connect(&table, &QAbstractItemModel::dataChanged, this, &RecoveryKeeper::changed);
    connect(&table, &QAbstractItemModel::modelReset, this, &RecoveryKeeper::changed);
    connect(&program_.request, &RequestHolder::changed, this, &RecoveryKeeper::changed);
    connect(&program_.request, &RequestHolder::outputChanged, this, &RecoveryKeeper::changed);
}

void RecoveryKeeper::offer() {
    if (armed_)
        return;
    fresh_ = program_.request.request();
    const QString path = program_.folders.workFile(kRecoveryFile);
    if (QFile::exists(path) && !takeBack(path))
        return;
    armed_ = true;
}

bool RecoveryKeeper::takeBack(const QString& path) {
    QFile file(path);
    if (file.size() > maxRecoveryBytes())
        return putDamagedAside(kTooLarge.arg(maxRecoveryBytes() / (1024 * 1024)));
    // A file that cannot be read now is not damaged: it stays for the next start.
    if (!file.open(QIODevice::ReadOnly))
        return leaveForLater(recoveryLaterMessage(path, file.errorString()));
    const Result<RecoveryRead> read = readRecovery(file.readAll());
    file.close();
    if (!read)
        return putDamagedAside(read.error());
    if (!holdsWork(read->request, read->subjects, fresh_))
        return true;
    if (!program_.messages.ask(recoveryQuestion(*read), Messages::Icon::Exclamation, false)) {
        const Result<QString> aside = moveRecoveryAside(program_.folders.work);
        if (!aside)
            return leaveForLater(aside.error());
        program_.messages.show(keptAsideMessage(*aside), Messages::Icon::Information);
        return true;
    }
    // The place tables are not the file: when one cannot be read, the file waits for them.
    for (ReferenceTable* table : {&program_.municipalities, &program_.states}) {
        if (const Status usable = table->refresh(); !usable)
            return leaveForLater(recoveryLaterMessage(path, usable.error()));
    }
    if (const Status restored = restore(*read); !restored)
        return putDamagedAside(restored.error());
    if (!read->dropped.isEmpty())
        program_.messages.show(read->dropped.join(QStringLiteral("\r\n")),
                               Messages::Icon::Exclamation);
    return true;
}

Status RecoveryKeeper::restore(const RecoveryRead& read) {
    Result<QList<SubjectRow>> rows =
        recoveredSubjects(read, program_.municipalities, program_.states);
    if (!rows)
        return Failure{rows.error()};
    restoring_ = true;
    // A certificate type or a date the file does not hold leaves the request's own.
    const Request& current = program_.request.request();
    Request request = read.request;
    if (request.certificateType < 0)
        request.certificateType = current.certificateType;
    if (request.protocolDate.isEmpty())
        request.protocolDate = current.protocolDate;
    program_.request.set(request);
    if (!rows->isEmpty()) {
        program_.table.appendRows(std::move(*rows));
        Q_EMIT subjectsRestored(program_.table.subjectCount());
        // As after an import: the create command checks every row before the output.
        program_.holdsImportedRows = true;
    }
    program_.request.setOutput(read.output);
    restoring_ = false;
    return {};
}

bool RecoveryKeeper::putDamagedAside(const QString& why) {
    const Result<QString> aside = moveRecoveryAside(program_.folders.work);
    if (!aside)
        return leaveForLater(aside.error());
    program_.messages.show(damagedRecoveryMessage(*aside, why), Messages::Icon::Critical);
    return true;
}

// The file stays as it is, unwritten for this run; the operator is told why.
bool RecoveryKeeper::leaveForLater(const QString& why) {
    setTrouble(why);
    program_.messages.show(trouble_, Messages::Icon::Critical);
    return false;
}

void RecoveryKeeper::changed() {
    if (armed_ && !restoring_ && !timer_.isActive())
        timer_.start();
}

void RecoveryKeeper::flush() {
    if (timer_.isActive() || retry_.isActive())
        write();
}

void RecoveryKeeper::write() {
    timer_.stop();
    retry_.stop();
    const QString path = program_.folders.workFile(kRecoveryFile);
    const Request& request = program_.request.request();
    Status written;
    if (!holdsWork(request, program_.table.subjectCount(), fresh_)) {
        // Nothing to take back: no question at the next start.
        if (QFile file(path); file.exists() && !file.remove())
            written = Failure{cannotWrite(path, file.errorString())};
    } else {
        const Result<QByteArray> bytes =
            recoveryBytes(request, program_.table, program_.clock.now(), program_.request.output());
        written =
            bytes ? writeFile(path, *bytes) : Status(Failure{cannotWrite(path, bytes.error())});
    }
    if (written) {
        setTrouble({});
        return;
    }
    // One message for a run of failed writes; the status line tells until one succeeds.
    if (trouble_.isEmpty())
        program_.messages.show(kNotKept.arg(written.error()), Messages::Icon::Exclamation);
    setTrouble(written.error());
    retry_.start();
}

void RecoveryKeeper::setTrouble(const QString& trouble) {
    if (trouble == trouble_)
        return;
    trouble_ = trouble;
    Q_EMIT protectionChanged(trouble_);
}

} // namespace velmora
