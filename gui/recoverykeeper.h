#pragma once

#include "core/subjects/recoveryfile.h"

#include <QObject>
#include <QTimer>

namespace velmora {

class Principale;
class Program;

// Keeps the request in progress in the recovery file beside config.ini: after each change of
// the subject table or of the request fields, one write a little later, so that a burst of
// changes (a word typed, an import) is one write. At start-up it offers back what the file
// holds. Nothing is written before that offer, so a start never overwrites the last request.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr int kDelayMs = 300;

    RecoveryKeeper(Program& program, Principale& window);

    // Once the splash window has gone: asks whether to take the unfinished request back (Sì
    // restores it through the import, No puts the file aside); from then on changes are kept.
    void offer();
    // Writes at once a change still waiting for the timer.
    void flush();

private:
    RequestValues current() const;
    void changed();
    void write();
    bool restore(const RecoveryRead& read, QString& why);
    // Puts an unreadable file aside and says so; false when even that failed.
    bool putDamagedAside(const QString& why);

    Program& program_;
    Principale& window_;
    QTimer timer_;
    RequestValues fresh_; // the fields a new request starts with
    bool armed_ = false;
    bool restoring_ = false;
    bool warned_ = false; // one message for a run of failed writes
};

} // namespace velmora
