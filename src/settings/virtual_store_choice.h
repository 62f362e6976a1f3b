// A default application chosen by an earlier copy of the utility whose
// writes Windows redirected.
#pragma once

// Before it carried an application manifest the utility ran as a legacy
// program: where a standard account could not write HKEY_LOCAL_MACHINE,
// Windows quietly stored its writes in that user's VirtualStore, where only
// that user's copies saw them. The utility now reads and writes the real
// key, so such a choice would be lost. Taken over into the real key, once,
// where nobody has chosen since the installer (the value is still the one
// the installer left, or there is none); the user's copy is then removed,
// whether taken or not, unless the real key could not be written.
void TakeOverVirtualStoreChoice();
