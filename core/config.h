#pragma once

#include "core/keyfilter.h"
#include "core/result.h"

#include <QString>

namespace velmora {

// The seven values kept in config.ini, one per line in this order.
struct Config {
    QString officeType;
    QString officeSeat;
    QString defaultPurpose;
    QString defaultCertType; // " 2" when chosen in the list, "2" when stored by "Crea File"
    QString outputFolder;
    QString importFolder;
    QString pdfFolder;

    // Office type, seat and purpose all given: the program can start without asking.
    bool isComplete() const;
    bool operator==(const Config&) const = default;
};

enum class ConfigRead {
    Complete,  // at least four lines
    Short,     // the file ends before line 4; the lines it has were read
    Unreadable // no file, or it cannot be opened
};

// Far above seven lines of the longest values: a larger file is damaged, and not read.
inline constexpr qint64 kMaxConfigBytes = 64 * 1024;

// Reads the lines the file has into `config`; lines 5 to 7 are optional and a missing one
// leaves its value as it was. A value that its field would not take (a character or a length
// the office-data window refuses, a control character in a folder) is left empty, and told in
// `dropped` with the file and the line, as is a file over kMaxConfigBytes, which is Unreadable.
ConfigRead readConfigFile(const QString& path, Config& config, QStringList* dropped = nullptr);
ConfigRead readConfigLines(const QStringList& lines, Config& config, const QString& file = {},
                           QStringList* dropped = nullptr);

// Writes all seven lines, all or nothing; on failure the file is as it was. A file that holds
// them already is not written again.
Status writeConfigFile(const QString& path, const Config& config);
QString configText(const Config& config);

// The certificate-type position held in defaultCertType: 0 to 4 (a leading blank allowed),
// or -1 when the text selects no item.
int certTypePosition(const QString& defaultCertType);

// What config.ini could not be written is told to the operator with.
QString configWriteFailure(const QString& error);

// The office-data window's fields.
namespace configfields {
KeyFilter officeType();
KeyFilter officeSeat();
KeyFilter purpose();
} // namespace configfields

} // namespace velmora
