// Today's look of the controls for both programs.
#pragma once

// Common Controls 6, which the manifest asks for, draws the dialogs, buttons
// and lists in the look of the Windows that runs them once comctl32 is
// loaded. It is loaded by hand, so that the programs still import no DLL
// beyond those every Windows has loaded anyway.
void LoadVisualStyles();
