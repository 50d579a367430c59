// Registry values, read from the 64-bit view where Windows has one: what
// Windows' own 64-bit programs (its script host among them) see.
#pragma once
#include "platform/types.h"

namespace platform {

enum class RegistryRoot { ClassesRoot, LocalMachine, CurrentUser };

// The value's type (REG_SZ 1, REG_DWORD 4, ...) and its bytes, at most
// `size` of them: the number of bytes read, or -1 when it is absent or larger.
// A null `name` is the key's default value.
int32_t ReadRegistryValue(RegistryRoot root, const char16_t* key, const char16_t* name, uint32_t* type,
                          void* data, uint32_t size);

}  // namespace platform
