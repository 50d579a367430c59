// Window classes and windows.
#pragma once
#include "platform/types.h"

namespace platform {

// The fields of WNDCLASS and WNDCLASSEX. RegisterClassA and RegisterClassW look
// icon_id and cursor_id up in `instance`; RegisterClassExA takes loaded handles.
struct WindowClassFields {
  uint32_t style;
  WindowProc proc;
  int32_t class_extra;
  int32_t window_extra;
  Handle instance;
  uint16_t icon_id;
  uint16_t cursor_id;
  uintptr_t background;
  const char* menu_name;
  const char* class_name;         // narrow calls
  const char16_t* wide_class_name;  // wide calls
  Handle icon, small_icon, cursor;  // RegisterClassExA
};

// The arguments of CreateWindowEx.
struct WindowFields {
  uint32_t ex_style;
  const char* class_name;
  const char16_t* wide_class_name;
  const char* title;
  const char16_t* wide_title;
  uint32_t style;
  int32_t x, y, width, height;
  Handle parent;
  Handle menu;
  Handle instance;
  void* param;
};

uint16_t RegisterClassA(const WindowClassFields& fields);
uint16_t RegisterClassW(const WindowClassFields& fields);
uint16_t RegisterClassExA(const WindowClassFields& fields);
Handle CreateWindowExA(const WindowFields& fields);
Handle CreateWindowExW(const WindowFields& fields);
int32_t ShowWindow(Handle window, int32_t command);
int32_t CloseWindow(Handle window);
// Lets `message` through the message filter of an elevated window.
int32_t ChangeWindowMessageFilterEx(Handle window, uint32_t message, uint32_t action);

}  // namespace platform
