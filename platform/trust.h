// Authenticode signatures as Windows checks them (WinVerifyTrust), without
// going to the network.
#pragma once
#include "platform/types.h"

namespace platform {

// WinVerifyTrust's answer for the file, read through `file` (opened by
// OpenHeld or OpenOwnImage), with no user interface and revocation looked up
// only where the PC has it already. Where a signature names a signer, its
// leaf certificate's encoded bytes go to `leaf` (at most `size`), their number
// to *length; else *length is 0. The trust library is loaded from the system
// folder at the first call; where it cannot be, the answer is kTrustCannotCheck.
int32_t VerifySignature(const char16_t* path, Handle file, uint8_t* leaf, uint32_t size, uint32_t* length);

// Opens `path` itself (a junction or link there is not followed) for reading,
// letting no one write or delete it while the handle lasts (CloseHandle ends
// it); null when it cannot be opened so, or is a junction or link.
Handle OpenHeld(const char16_t* path);

// Whether the running program carries a signature, read from its image as
// mapped (the certificate table's entry in its header), which nothing can
// change while it runs.
bool ImageCarriesSignature();

// The running program's own file, held as OpenHeld holds it, and its path
// (`size` characters); null unless the file at that path now is the very
// image that runs (not renamed away, nor replaced).
Handle OpenOwnImage(char16_t* path, uint32_t size);

}  // namespace platform
