#include "platform/text.h"

#include "platform/win32/win32.h"

namespace platform {

// The one code page the product's texts are written in.
constexpr UINT kTextCodePage = 936;

bool WidenText(const char* text, char16_t* out, uint32_t size) {
  wchar_t* wide = reinterpret_cast<wchar_t*>(out);
  // Without the table (a Windows that lacks it) the call fails at once; the
  // ANSI code page then reads the bytes as every narrow call would.
  if (MultiByteToWideChar(kTextCodePage, 0, text, -1, wide, size) > 0 ||
      MultiByteToWideChar(CP_ACP, 0, text, -1, wide, size) > 0)
    return true;
  if (size) out[0] = 0;
  return false;
}

}  // namespace platform
