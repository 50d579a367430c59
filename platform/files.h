// Settings reads and the C runtime's file output.
#pragma once
#include "platform/types.h"

namespace platform {

uint32_t GetPrivateProfileIntA(const char* section, const char* key, int32_t default_value,
                               const char* file);

// fopen, fwrite, fclose; a null handle is a failed open.
Handle OpenFile(const char* path, const char* mode);
size_t WriteFile(Handle file, const void* data, size_t size);
int32_t CloseFile(Handle file);

}  // namespace platform
