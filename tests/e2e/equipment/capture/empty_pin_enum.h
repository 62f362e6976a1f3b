// A pin enumerator with nothing in it: the stand-in filter has no pins, but
// the filter graph enumerates them when it is released.
#pragma once

#include <dshow.h>

namespace equipment {

HRESULT CreateEmptyPinEnum(IEnumPins** out);

}  // namespace equipment
