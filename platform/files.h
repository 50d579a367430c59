// Settings reads, the C runtime's file calls, the working directory.
#pragma once
#include "platform/types.h"

namespace platform {

uint32_t GetPrivateProfileIntA(const char* section, const char* key, int32_t default_value,
                               const char* file);

// fopen, fwrite, fclose; a null handle is a failed open.
Handle OpenFile(const char* path, const char* mode);
size_t WriteFile(Handle file, const void* data, size_t size);
int32_t CloseFile(Handle file);

// _access and remove: 0 on success, -1 on failure.
int32_t Access(const char* path, int32_t mode);
int32_t RemoveFile(const char* path);

// The length written, or the size needed when `size` is too small; 0 on failure.
uint32_t GetCurrentDirectoryA(uint32_t size, char* buffer);
// The running program's full path; `size` when it was cut short, 0 on failure.
uint32_t GetModuleFileNameA(char* buffer, uint32_t size);
// As GetCurrentDirectoryA: the length, the size needed, or 0 (no such path).
uint32_t GetLongPathNameA(const char* path, char* buffer, uint32_t size);

// kInvalidFileAttributes, or kFileAttribute... bits (platform/win_values.h).
// Of the path itself, not of what a junction or symbolic link there names:
uint32_t GetFileAttributesA(const char* path);

}  // namespace platform
