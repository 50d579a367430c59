#include "platform/trust.h"

#include <cstring>

#include "platform/win32/win32.h"

#include <softpub.h>
#include <wintrust.h>

namespace platform {

int32_t VerifySignature(const char16_t* path, Handle file, uint8_t* leaf, uint32_t size, uint32_t* length) {
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
  LONG result = ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
  // The signer's own certificate, first of its chain, as the signature holds it.
  *length = 0;
  CRYPT_PROVIDER_DATA* provider = ::WTHelperProvDataFromStateData(data.hWVTStateData);
  CRYPT_PROVIDER_SGNR* signer = provider ? ::WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0) : nullptr;
  CRYPT_PROVIDER_CERT* certificate = signer ? ::WTHelperGetProvCertFromChain(signer, 0) : nullptr;
  if (certificate && certificate->pCert && certificate->pCert->cbCertEncoded <= size) {
    std::memcpy(leaf, certificate->pCert->pbCertEncoded, certificate->pCert->cbCertEncoded);
    *length = certificate->pCert->cbCertEncoded;
  }
  data.dwStateAction = WTD_STATEACTION_CLOSE;
  ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
  return result;
}

Handle OpenHeld(const char16_t* path) {
  HANDLE file = ::CreateFileW(reinterpret_cast<LPCWSTR>(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

}  // namespace platform
