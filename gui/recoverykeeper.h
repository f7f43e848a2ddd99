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
// request. A write that fails is tried again at the next change and every few seconds until
// it succeeds; meanwhile the operator is told that the work is not protected.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr int kDelayMs = 300;
    static constexpr int kRetryMs = 3000;

    explicit RecoveryKeeper(Program& program);

    // Asks whether to take the unfinished request back (Sì restores it through the import, No
    // puts the file aside); from then on changes are kept.
    void offer();
    // Writes at once a change still waiting for the timer.
    void flush();

Q_SIGNALS:
    // Subjects were taken back; `lastRow` is the table's last row.
    void subjectsRestored(int lastRow);
    // Why the request in progress is not kept for a restart; "" once it is again.
    void protectionChanged(const QString& trouble);

private:
    // Offers the recovery file back; false when it must stay as it is for this run.
    bool takeBack(const QString& path);
    void changed();
    void write();
    Status restore(const RecoveryRead& read);
    // Puts a damaged file aside and says so; false when even that failed.
    bool putDamagedAside(const QString& why);
    // Leaves the file for the next start, saying `why`; false.
    bool leaveForLater(const QString& why);
    void setTrouble(const QString& trouble);

    Program& program_;
    QTimer timer_;
    QTimer retry_;
    Request fresh_; // the request as a new one starts
    bool armed_ = false;
    bool restoring_ = false;
    QString trouble_; // why the last write failed, "" after one that succeeded
};

} // namespace velmora
