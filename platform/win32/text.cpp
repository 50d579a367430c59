#include "platform/text.h"

#include "platform/win32/win32.h"

namespace platform {

// The one code page the product's texts are written in.
constexpr UINT kTextCodePage = 936;

// Strictly: a byte that is no character of code page 936 fails the whole text
// (a host test holds every text against Windows' own table), and there is no
// other code page to fall back to.
bool WidenText(const char* text, char16_t* out, uint32_t size) {
  if (::MultiByteToWideChar(kTextCodePage, MB_ERR_INVALID_CHARS, text, -1, reinterpret_cast<wchar_t*>(out), size) > 0)
    return true;
  if (size) out[0] = 0;
  return false;
}

}  // namespace platform
