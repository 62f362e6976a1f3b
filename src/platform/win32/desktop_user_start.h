// Opening a program or document as the user who is signed in at the desktop.
#pragma once

// The installer runs with administrator rights, and what it starts would
// inherit them: an elevated utility cannot be closed by a later copy or by
// Remote Check, and an elevated browser is the wrong place for a guide. So
// its "start now", its upgrade restart and its "open the guide" run
//   RemoteControl.exe /OPENASUSER "<file>"
// which asks the desktop's own shell to open the file: the shell opens it
// as the user it runs as, with that user's ordinary rights. Where no shell
// answers (none runs in this session, or it is not Explorer), the file is
// opened with this process's own rights, as before. True if it was opened.
bool OpenAsDesktopUser(const char* file);

// The file named after "/OPENASUSER" when the command line starts with that
// switch (quoted or not), else nullptr. Writes into the command line.
char* OpenAsUserFile(char* commandLine);
