// Settings reads, the C runtime's file calls, paths.
#pragma once
#include "platform/types.h"

namespace platform {

uint32_t GetPrivateProfileIntA(const char* section, const char* key, int32_t default_value,
                               const char* file);

// fopen, fwrite, fclose; a null handle is a failed open.
Handle OpenFile(const char* path, const char* mode);
size_t WriteFile(Handle file, const void* data, size_t size);
int32_t CloseFile(Handle file);

// _access and _wremove: 0 on success, -1 on failure. An ASCII name is
// relative to the working folder.
int32_t Access(const char* name, int32_t mode);
int32_t Access(const char16_t* path, int32_t mode);
int32_t RemoveFile(const char16_t* path);

// Paths are UTF-16, so no character of them is lost or replaced by a look-alike.
// Each returns the length written, or the size needed when `size` (in
// characters) is too small, or 0 on failure.
uint32_t WorkingFolder(uint32_t size, char16_t* buffer);
bool SetWorkingFolder(const char16_t* path);
// The running program's full path; `size` when it was cut short.
uint32_t ProgramPath(char16_t* buffer, uint32_t size);
// kInvalidFileAttributes, or kFileAttribute... bits (platform/win_values.h).
// Of the path itself, not of what a junction or symbolic link there names.
uint32_t PathAttributes(const char16_t* path);
// Equal as the file system compares names: letter by letter, case ignored.
bool SameName(const char16_t* a, const char16_t* b);

}  // namespace platform
