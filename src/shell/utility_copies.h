// Every running copy of the utility, found by its window class.
#pragma once

// Posts WM_CLOSE to every window of the utility's class, wherever it is in
// the window order; the caller does not wait for them to go.
void AskEveryCopyToClose();
