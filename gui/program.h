#pragma once

#include "core/config.h"
#include "core/paths.h"
#include "core/subjects/referencetable.h"
#include "core/subjects/subjecttable.h"
#include "gui/requestholder.h"
#include "gui/tableedits.h"

#include <QUndoStack>

namespace velmora {

class Clock;
class Messages;
class Shell;

// What the windows share for the whole run: the configuration, the request, the subject table
// and its state, and the services. Every window gets it by reference; the windows themselves
// belong to the main window.
class Program {
public:
    Program(Messages& messages, Shell& shell, Clock& clock,
            DataFolders folders = currentDataFolders());
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    Messages& messages;
    Shell& shell;
    Clock& clock;
    // Fixed at start: every file the program reads or writes is below these.
    const DataFolders folders;

    Config config;
    SubjectTable table;
    RequestHolder request{table};
    // Every change of the table the operator makes goes through `edits`, onto `undo`.
    QUndoStack undo;
    TableEdits edits{table, undo};
    int currentRow = 0;             // the current data row, 0 on an empty table
    bool addingSubject = false;     // the subject window was opened to add a subject
    bool holdsImportedRows = false; // rows came from a file: "Crea File" checks them first
    int batchCounter = 0;           // the "(n)" of the next batch of a minute already taken
    // The place tables of the working folder, or the installed ones; each use refreshes them.
    ReferenceTable municipalities{folders.dataFile(kMunicipalityTable)};
    ReferenceTable states{folders.dataFile(kStateTable)};

    // config.ini in the working folder; what it holds against the fields' rules is left out and
    // told in `dropped`. A write that fails is told to the operator and the values stay in
    // memory; returns false then.
    ConfigRead readConfig(QStringList* dropped = nullptr);
    bool writeConfig();
    // The output and import windows read config.ini again when they open; an office type the
    // operator changed in the main window and did not save yet is kept, not replaced.
    ConfigRead reloadConfig();
};

} // namespace velmora
