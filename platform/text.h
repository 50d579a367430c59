// The product's texts are GBK bytes (code page 936) in the programs; the
// Windows side shows them as their characters on a Windows of any language.
#pragma once
#include "platform/types.h"

namespace platform {

// `text` as UTF-16 in `out`, `size` characters with the terminator, read as
// code page 936. False, and `out` empty, when it does not fit or holds a byte
// that is no character there.
bool WidenText(const char* text, char16_t* out, uint32_t size);

}  // namespace platform
