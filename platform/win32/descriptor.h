// A security descriptor as the programs judge it, however it was read: from a
// file's handle, or, in the Wine tests, from SDDL.
#pragma once
#include "platform/security.h"
#include "platform/win32/win32.h"

namespace platform {

// Its owner and DACL; false for a DACL of more than kMaxAccessEntries entries
// or one that cannot be walked.
bool DescribeDescriptor(PSECURITY_DESCRIPTOR descriptor, FileSecurity* security);

}  // namespace platform
