#pragma once

#include "core/config.h"
#include "core/keyfilter.h"

#include <QString>
#include <QStringList>
#include <array>

namespace velmora {

// The certificate list; an item's position is the certificate-type index.
inline const std::array<QString, 5> kCertificateTypes = {
    QStringLiteral("CERTIFICATO GENERALE (art.28 art.24 d.P.R. n. 313/2002)"),
    QStringLiteral("CERTIFICATO PENALE (artt. 25, 28 d.P.R. n. 313/2002)"),
    QStringLiteral("CERTIFICATO CIVILE (artt. 26, 28 d.P.R. n. 313/2002)"),
    QStringLiteral("CERTIFICATO art. 39 d.P.R. n. 313/2002 (Consultazione diretta sistema)"),
    QStringLiteral("CERTIFICATO art. 29 d.P.R. n. 313/2002 (Elettorale)"),
};

// A protocol number holds at most this many characters; the request summary pads it to them.
inline constexpr qsizetype kProtocolNumberWidth = 30;

// The request as the operator fills it in the main window. Files spell the German flag out
// where they are written.
struct Request {
    int certificateType = -1; // position in kCertificateTypes, -1 while none is chosen
    QString purpose;
    QString protocolNumber;
    QString protocolDate; // as the field shows it; "" while no digit is typed
    bool german = false;
    bool operator==(const Request&) const = default;
};

// The certificate's line of the list, "" while none is chosen.
QString certificateDescription(int certificateType);

// defaultCertType as a pick in the list writes it: the sign's blank, then the digit.
QString certTypeFromList(int position);

// The office type typed in the main window replaces the program-wide one when it differs
// and has at least two characters.
bool takesOfficeType(const QString& typed, const QString& officeType);

// What the main window does at start from the configuration it could read.
struct StartupPlan {
    QString officeType;          // into the office-type field
    Request request;             // the certificate type and purpose a request starts with
    bool showMainWindow = false; // false: ask for the office data first
};
StartupPlan planStartup(ConfigRead read, const Config& config);

// The main window's request fields.
namespace requestfields {
KeyFilter protocolNumber();
KeyFilter officeType();
KeyFilter purpose();
} // namespace requestfields

} // namespace velmora
