// The program's own state; see program_state.h.
#include "shell/program_state.h"

MainWindowState program = {0, 0, 1, true, false};
