#include "gui/recoverykeeper.h"

#include "core/clock.h"
#include "core/files/filewriter.h"
#include "core/paths.h"
#include "core/text/textfile.h"
#include "gui/messages.h"
#include "gui/program.h"

#include <QDir>
#include <QFile>

namespace velmora {
namespace {

const QString kNotKept =
    QStringLiteral("La richiesta in corso non pu\u00F2 essere conservata per una ripresa:\r\n%1");

} // namespace

RecoveryKeeper::RecoveryKeeper(Program& program) : program_(program) {
    timer_.setSingleShot(true);
    timer_.setInterval(kDelayMs);
    connect(&timer_, &QTimer::timeout, this, &RecoveryKeeper::write);

    SubjectTable& table = program_.table;
    connect(&table, &QAbstractItemModel::rowsInserted, this, &RecoveryKeeper::changed);
    connect(&table, &QAbstractItemModel::rowsRemoved, this, &RecoveryKeeper::changed);
    connect(&table, &QAbstractItemModel::dataChanged, this, &RecoveryKeeper::changed);
    connect(&table, &QAbstractItemModel::modelReset, this, &RecoveryKeeper::changed);
    connect(&program_.request, &RequestHolder::changed, this, &RecoveryKeeper::changed);
}

void RecoveryKeeper::offer() {
    if (armed_)
        return;
    fresh_ = program_.request.request();
    QFile file(program_.folders.workFile(kRecoveryFile));
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) {
            if (!putDamagedAside(file.errorString()))
                return;
        } else {
            const Result<RecoveryRead> read = readRecovery(file.readAll());
            file.close();
            if (read && holdsWork(read->request, read->subjects, fresh_)) {
                if (!program_.messages.ask(recoveryQuestion(*read), Messages::Icon::Exclamation,
                                           false)) {
                    const Result<QString> aside = moveRecoveryAside(program_.folders.work);
                    if (!aside) {
                        program_.messages.show(aside.error(), Messages::Icon::Critical);
                        return; // the file stays as it is, unwritten for this run
                    }
                } else if (const Status restored = restore(*read);
                           !restored && !putDamagedAside(restored.error())) {
                    return;
                }
            } else if (!read && !putDamagedAside(read.error())) {
                return;
            }
        }
    }
    armed_ = true;
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
    restoring_ = false;
    return {};
}

bool RecoveryKeeper::putDamagedAside(const QString& why) {
    const Result<QString> aside = moveRecoveryAside(program_.folders.work);
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
    const QString path = program_.folders.workFile(kRecoveryFile);
    const Request& request = program_.request.request();
    if (!holdsWork(request, program_.table.subjectCount(), fresh_)) {
        QFile::remove(path); // nothing to take back: no question at the next start
        return;
    }
    const Result<QByteArray> bytes = recoveryBytes(request, program_.table, program_.clock.now());
    const Status written =
        bytes ? writeFile(path, *bytes) : Status(Failure{cannotWrite(path, bytes.error())});
    if (written) {
        warned_ = false;
        return;
    }
    if (!warned_)
        program_.messages.show(kNotKept.arg(written.error()), Messages::Icon::Exclamation);
    warned_ = true;
}

} // namespace velmora
