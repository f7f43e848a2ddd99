#pragma once

#include "core/keyfilter.h"

namespace velmora::entryfields {

// The key filters of the subject entry window. Every one turns letters into capitals.
KeyFilter surname();
KeyFilter name();
KeyFilter taxCode();
KeyFilter cui();
KeyFilter father();
KeyFilter foreignPlace();
KeyFilter placeList(); // the municipality and state lists: no length limit

} // namespace velmora::entryfields
