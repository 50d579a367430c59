// Authenticode signatures as Windows checks them (WinVerifyTrust), without
// going to the network.
#pragma once
#include "platform/types.h"

namespace platform {

// WinVerifyTrust's answer for the file, read through `file` (opened by
// OpenHeld, or null to open `path`), with no user interface and revocation
// looked up only where the PC has it already. Where a signature names a
// signer, its leaf certificate's encoded bytes go to `leaf` (at most `size`),
// their number to *length; else *length is 0.
int32_t VerifySignature(const char16_t* path, Handle file, uint8_t* leaf, uint32_t size, uint32_t* length);

// Opens `path` for reading, letting no one write or delete it while the handle
// lasts (CloseHandle ends it); null when it cannot be opened so.
Handle OpenHeld(const char16_t* path);

}  // namespace platform
