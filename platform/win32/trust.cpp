#include "platform/trust.h"

#include <cstring>
#include <initializer_list>

#include "platform/win32/scoped.h"
#include "platform/win32/win32.h"
#include "platform/win_values.h"

#include <psapi.h>
#include <softpub.h>
#include <wintrust.h>

namespace platform {

// The trust library is not one Windows pins to its own copy: imported, it
// would be looked for beside the program first, before the program runs a
// line. So it is loaded when a check needs it, from the system folder alone
// (its own imports included).
struct TrustCalls {
  decltype(&::WinVerifyTrust) verify;
  decltype(&::WTHelperProvDataFromStateData) provider;
  decltype(&::WTHelperGetProvSignerFromChain) signer;
  decltype(&::WTHelperGetProvCertFromChain) certificate;
};

template <typename Call>
static bool Find(HMODULE library, const char* name, Call* call) {
  *call = reinterpret_cast<Call>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
  return *call != nullptr;
}

static const TrustCalls* LoadTrust() {
  static TrustCalls calls;
  static bool loaded = false;
  if (loaded) return &calls;
  HMODULE library = ::LoadLibraryExW(L"wintrust.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  loaded = library && Find(library, "WinVerifyTrust", &calls.verify) &&
           Find(library, "WTHelperProvDataFromStateData", &calls.provider) &&
           Find(library, "WTHelperGetProvSignerFromChain", &calls.signer) &&
           Find(library, "WTHelperGetProvCertFromChain", &calls.certificate);
  return loaded ? &calls : nullptr;
}

int32_t VerifySignature(const char16_t* path, Handle file, uint8_t* leaf, uint32_t size, uint32_t* length) {
  *length = 0;
  const TrustCalls* trust = LoadTrust();
  if (!trust) return kTrustCannotCheck;
  WINTRUST_FILE_INFO info = {sizeof info, reinterpret_cast<LPCWSTR>(path), file, nullptr};
  WINTRUST_DATA data = {};
  data.cbStruct = sizeof data;
  data.dwUIChoice = WTD_UI_NONE;
  data.fdwRevocationChecks = WTD_REVOKE_WHOLECHAIN;
  data.dwUnionChoice = WTD_CHOICE_FILE;
  data.pFile = &info;
  data.dwStateAction = WTD_STATEACTION_VERIFY;
  data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL | WTD_REVOCATION_CHECK_CHAIN;
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  HWND no_window = static_cast<HWND>(INVALID_HANDLE_VALUE);
  LONG result = trust->verify(no_window, &action, &data);
  // The signer's own certificate, first of its chain, as the signature holds it.
  CRYPT_PROVIDER_DATA* provider = trust->provider(data.hWVTStateData);
  CRYPT_PROVIDER_SGNR* signer = provider ? trust->signer(provider, 0, FALSE, 0) : nullptr;
  CRYPT_PROVIDER_CERT* certificate = signer ? trust->certificate(signer, 0) : nullptr;
  if (certificate && certificate->pCert && certificate->pCert->cbCertEncoded <= size) {
    std::memcpy(leaf, certificate->pCert->pbCertEncoded, certificate->pCert->cbCertEncoded);
    *length = certificate->pCert->cbCertEncoded;
  }
  data.dwStateAction = WTD_STATEACTION_CLOSE;
  trust->verify(no_window, &action, &data);
  return result;
}

static HANDLE OpenHeldFile(const wchar_t* path) {
  HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(file, &info) ||
      (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    ::CloseHandle(file);
    return nullptr;
  }
  return file;
}

Handle OpenHeld(const char16_t* path) { return OpenHeldFile(reinterpret_cast<LPCWSTR>(path)); }

static const IMAGE_NT_HEADERS* ImageHeaders(const BYTE* image) {
  return reinterpret_cast<const IMAGE_NT_HEADERS*>(image + reinterpret_cast<const IMAGE_DOS_HEADER*>(image)->e_lfanew);
}

bool ImageCarriesSignature() {
  const IMAGE_NT_HEADERS* nt = ImageHeaders(reinterpret_cast<const BYTE*>(::GetModuleHandleW(nullptr)));
  return nt->OptionalHeader.NumberOfRvaAndSizes > IMAGE_DIRECTORY_ENTRY_SECURITY &&
         nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_SECURITY].Size != 0;
}

// Names compared as the file system compares them: letter case ignored.
static bool SameText(const wchar_t* a, DWORD a_length, const wchar_t* b, DWORD b_length) {
  return a_length != 0 && ::CompareStringOrdinal(a, a_length, b, b_length, TRUE) == CSTR_EQUAL;
}

// The image's file as it is called now (Windows names it by its volume's
// device, Wine by its drive) is one of the names of the held file.
static bool MappedFrom(HANDLE held, const BYTE* image) {
  constexpr DWORD kRoom = 1024;
  wchar_t mapped[kRoom], name[kRoom + 4];
  DWORD mapped_length = ::K32GetMappedFileNameW(::GetCurrentProcess(), const_cast<BYTE*>(image), mapped, kRoom);
  if (mapped_length == 0 || mapped_length >= kRoom) return false;
  for (DWORD form : {FILE_NAME_OPENED | VOLUME_NAME_NT, FILE_NAME_NORMALIZED | VOLUME_NAME_NT,
                     FILE_NAME_NORMALIZED | VOLUME_NAME_DOS}) {
    DWORD length = ::GetFinalPathNameByHandleW(held, name, kRoom, form);
    if (length == 0 || length >= kRoom) continue;
    if ((form & VOLUME_NAME_NT) == 0) name[1] = name[2] = L'?';  // "\\?\C:\..." as "\??\C:\..."
    if (SameText(mapped, mapped_length, name, length)) return true;
  }
  return false;
}

// The held file's headers are those of the image, but for the load address
// the loader writes in: Wine keeps the name a running image was started by
// even after it was renamed away, and whatever took that name differs here.
static bool SameHeaders(HANDLE held, const BYTE* image) {
  const IMAGE_NT_HEADERS* nt = ImageHeaders(image);
  BYTE file[4096];
  DWORD size = nt->OptionalHeader.SizeOfHeaders, got = 0;
  if (size > sizeof file || !::ReadFile(held, file, size, &got, nullptr) || got != size) return false;
  size_t base = reinterpret_cast<const BYTE*>(&nt->OptionalHeader.ImageBase) - image;
  std::memcpy(file + base, image + base, sizeof nt->OptionalHeader.ImageBase);
  return std::memcmp(file, image, size) == 0;
}

Handle OpenOwnImage(char16_t* path, uint32_t size) {
  wchar_t* own = reinterpret_cast<wchar_t*>(path);
  DWORD length = ::GetModuleFileNameW(nullptr, own, size);
  if (length == 0 || length >= size) return nullptr;
  // Held first, so that the name cannot pass to another file meanwhile.
  HANDLE held = OpenHeldFile(own);
  if (!held) return nullptr;
  const BYTE* image = reinterpret_cast<const BYTE*>(::GetModuleHandleW(nullptr));
  if (MappedFrom(held, image) && SameHeaders(held, image) && ::SetFilePointer(held, 0, nullptr, FILE_BEGIN) == 0)
    return held;
  ::CloseHandle(held);
  return nullptr;
}

}  // namespace platform
