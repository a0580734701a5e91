// The drive queries of the destination check on this machine: free space from the platform
// and the setup program's folder test.
#pragma once

#include "setup/wizard/WizardRules.h"

namespace pelorin {

// The one instance; it holds no state.
IDriveQuery& MachineDrives();

}  // namespace pelorin
