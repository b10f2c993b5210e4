// Start and end of the tools unit: registers the unit's tool classes with the chart's tool type
// registry (which also makes them known to streaming by class name) and removes them again.
#pragma once

#include <vector>

#include "platform/Classes.h"

namespace zel {

// The unit's tool classes in their registration order.
std::vector<const TClass*> ZelToolsUnitClasses();

// Counted: only the first start registers and only the matching last end removes.
void ZelToolsUnitStart();
void ZelToolsUnitEnd();

}  // namespace zel
