// An INI reader that answers like GetPrivateProfileIntA: the first section of
// the name, the first key of the name in it, names without regard to case,
// the value's leading integer, the default when the key or its value is absent.
#pragma once
#include <cstddef>
#include <cstdint>

int32_t ReadProfileInt(const char* text, size_t length, const char* section, const char* key,
                       int32_t default_value);
int32_t ReadProfileIntFile(const char* path, const char* section, const char* key,
                           int32_t default_value);
