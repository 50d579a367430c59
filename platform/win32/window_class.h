// What the window files share: the fields every class structure has.
#pragma once
#include "platform/window.h"
#include "platform/win32/win32.h"

namespace platform {

// The fields the narrow and wide class structures share.
template <typename Class>
inline void FillCommonFields(const WindowClassFields& f, Class* wc) {
  wc->style = f.style;
  wc->lpfnWndProc = reinterpret_cast<WNDPROC>(f.proc);
  wc->cbClsExtra = f.class_extra;
  wc->cbWndExtra = f.window_extra;
  wc->hInstance = static_cast<HINSTANCE>(f.instance);
  wc->hbrBackground = reinterpret_cast<HBRUSH>(f.background);
}

}  // namespace platform
