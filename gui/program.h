#pragma once

#include "core/config.h"
#include "core/paths.h"
#include "core/request/request.h"
#include "core/subjects/referencetable.h"
#include "core/subjects/subjecttable.h"

#include <QPointer>
#include <QWidget>

namespace velmora {

class Clock;
class Messages;
class AvvisoTabella;
class Calendar;
class Principale;
class Shell;
class CreaFiles;
class attesa;
class ImportaFile;
class datiUtente;
class frmSplash;
class InsertPersona;
class diacritici;

// What the windows share for the whole run: the configuration, the request, the subject table
// and its state, and the services. Every window gets it by reference; windows exist at most
// once and are reached (and created on first use) through it.
class Program {
public:
    Program(Messages& messages, Shell& shell, Clock& clock);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    Messages& messages;
    Shell& shell;
    Clock& clock;

    Config config;
    RequestRecord request;
    SubjectTable table;
    int indiceSoggetti = 0;   // the current data row, 0 on an empty table
    bool nuovoIns = false;    // the entry window was opened to add a subject
    bool importoFile = false; // the table holds imported rows
    int BatchCounter = 0;
    // The place tables of the working folder, or the installed ones; each use refreshes them.
    ReferenceTable municipalities{dataPath(kMunicipalityTable)};
    ReferenceTable states{dataPath(kStateTable)};

    // config.ini in the working folder. A write that fails is told to the operator and the
    // values stay in memory; returns false then.
    ConfigRead readConfig();
    bool writeConfig();
    // The output and import windows read config.ini again when they open; an office type the
    // operator changed in the main window and did not save yet is kept, not replaced.
    ConfigRead reloadConfig();

    Principale& principale();
    datiUtente& configWindow();
    CreaFiles& outputWindow();
    void closeOutputWindow();
    ImportaFile& importWindow();
    frmSplash& splash();
    void closeSplash();
    attesa& waitWindow();
    void closeWaitWindow();
    Calendar& calendar();
    AvvisoTabella& clearTableWindow();
    InsertPersona& entryWindow();
    diacritici& palette();
    void closePalette();

    // Closes every window but the main one, in the order the main window's close wants.
    void closeOtherWindows();

private:
    static void closeIfOpen(QWidget* window);
    template <typename Window> Window& reach(QPointer<Window>& slot);

    QPointer<Principale> principale_;
    QPointer<datiUtente> configWindow_;
    QPointer<CreaFiles> outputWindow_;
    QPointer<ImportaFile> importWindow_;
    QPointer<frmSplash> splash_;
    QPointer<attesa> waitWindow_;
    QPointer<Calendar> calendar_;
    QPointer<AvvisoTabella> clearTableWindow_;
    QPointer<InsertPersona> entryWindow_;
    QPointer<diacritici> palette_;
};

} // namespace velmora
