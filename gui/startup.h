#pragma once

namespace velmora {

class MainWindow;
class RecoveryKeeper;

// The request in progress follows the main window's run: offered back once the splash screen
// has gone, its rows shown when taken back, a change still waiting kept at the close.
void keepRequestInProgress(MainWindow& window, RecoveryKeeper& keeper);

} // namespace velmora
