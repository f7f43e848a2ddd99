#pragma once

#include "core/keyfilter.h"

namespace velmora::entryfields {

// The key filters of the subject entry window. Every one turns letters into capitals.
KeyFilter surname();      // Text1
KeyFilter name();         // Text2
KeyFilter taxCode();      // Text3
KeyFilter cui();          // Text4
KeyFilter father();       // Text5
KeyFilter foreignPlace(); // Text7
KeyFilter placeList();    // Combo1 and Combo2: no length limit

} // namespace velmora::entryfields
