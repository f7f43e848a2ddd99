#pragma once

#include "core/subjects/recoveryfile.h"

#include <QObject>
#include <QTimer>

namespace velmora {

class Program;

// Keeps the request in progress in the recovery file beside config.ini: after each change of
// the subject table or of the request, one write a little later, so that a burst of changes
// (a word typed, an import) is one write. Once the program is ready it offers back what the
// file holds. Nothing is written before that offer, so a start never overwrites the last
// request.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr int kDelayMs = 300;

    explicit RecoveryKeeper(Program& program);

    // Asks whether to take the unfinished request back (Sì restores it through the import, No
    // puts the file aside); from then on changes are kept.
    void offer();
    // Writes at once a change still waiting for the timer.
    void flush();

Q_SIGNALS:
    // Subjects were taken back; `lastRow` is the table's last row.
    void subjectsRestored(int lastRow);

private:
    void changed();
    void write();
    Status restore(const RecoveryRead& read);
    // Puts an unreadable file aside and says so; false when even that failed.
    bool putDamagedAside(const QString& why);

    Program& program_;
    QTimer timer_;
    Request fresh_; // the request as a new one starts
    bool armed_ = false;
    bool restoring_ = false;
    bool warned_ = false; // one message for a run of failed writes
};

} // namespace velmora
