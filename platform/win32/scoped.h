// One owner for each handle, local allocation, COM pointer and string the
// seam takes: released on every path out of the function that holds it.
#pragma once
#include "platform/win32/win32.h"

#include <oleauto.h>

namespace platform {

class ScopedHandle {
 public:
  explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
  ~ScopedHandle() {
    if (valid()) ::CloseHandle(handle_);
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

class ScopedLocal {
 public:
  explicit ScopedLocal(void* memory) : memory_(memory) {}
  ~ScopedLocal() { ::LocalFree(memory_); }
  ScopedLocal(const ScopedLocal&) = delete;
  ScopedLocal& operator=(const ScopedLocal&) = delete;

 private:
  void* memory_;
};

template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (pointer_) pointer_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  Interface* operator->() const { return pointer_; }
  Interface* get() const { return pointer_; }
  // For the call that fills it; it holds nothing yet.
  Interface** out() { return &pointer_; }
  void** out_void() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

class Bstr {
 public:
  explicit Bstr(const char16_t* text = nullptr)
      : text_(text ? ::SysAllocString(reinterpret_cast<const OLECHAR*>(text)) : nullptr) {}
  ~Bstr() { ::SysFreeString(text_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return text_; }
  BSTR* out() { return &text_; }

 private:
  BSTR text_;
};

// CoInitializeEx for the holder's life; uninitialised only if it took.
class ComApartment {
 public:
  ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  HRESULT result_;
};

}  // namespace platform
