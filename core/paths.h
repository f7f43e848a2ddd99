#pragma once

#include <QDir>
#include <QString>

namespace velmora {

// Files the program keeps below the folder it was started in, resolved at each use.
inline constexpr QStringView kConfigFile = u"config.ini";
inline constexpr QStringView kMunicipalityTable = u"ref/FileCodComuni.txt";
inline constexpr QStringView kStateTable = u"ref/FileCodStati.txt";
inline constexpr QStringView kFormTemplate = u"ref/modello.pdf";
inline constexpr QStringView kUserManual = u"docs/ORV-Velmora-Manuale_Utente.doc";

inline QString workingPath(QStringView piece) {
    return QDir::current().absoluteFilePath(piece.toString());
}

} // namespace velmora
