// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/path_access.h"
#include "platform/system/windows/windows_api.h"

// Who may change the file or folder that `descriptor` guards, for the user
// `user`: whether its owner is the user, SYSTEM, Administrators or
// TrustedInstaller, and whether an allow entry that applies to it gives
// anyone else a right to change it. Deny entries are not weighed: a grant
// that one of them may take back still counts.
PathAccess DescriptorAccess(PSECURITY_DESCRIPTOR descriptor, PSID user, bool bFolder);
