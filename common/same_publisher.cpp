#include "common/same_publisher.h"

#include <cstring>

#include "common/text_buffer.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/trust.h"
#include "platform/win_values.h"

using platform::kCertChaining, platform::kCertExpired, platform::kCertRevocationFailure, platform::kCertUntrustedRoot,
    platform::kCertUntrustedTestRoot, platform::kCryptNoRevocationCheck, platform::kCryptRevocationOffline,
    platform::kTrustNoSignature, platform::kTrustProviderUnknown, platform::kTrustSubjectFormUnknown;

// Room for a leaf certificate: real ones are one or two kilobytes.
constexpr uint32_t kLeafRoom = 4096;

static platform::Handle g_held = nullptr;

static bool CarriesNone(int32_t result) {
  return result == kTrustNoSignature || result == kTrustSubjectFormUnknown || result == kTrustProviderUnknown;
}

// The digest verified; whether Windows trusts the chain (an unknown root, a
// revocation list out of reach, an expired certificate without a timestamp)
// is not the question: the leaf is compared with our own.
static bool DigestVerified(int32_t result) {
  return result == 0 || result == kCertUntrustedRoot || result == kCertUntrustedTestRoot || result == kCertChaining ||
         result == kCertExpired || result == kCertRevocationFailure || result == kCryptNoRevocationCheck ||
         result == kCryptRevocationOffline;
}

bool SiblingOfOurPublisher(const char* sibling) {
  if (g_held) platform::CloseHandle(g_held);
  g_held = nullptr;
  // Our own signature and its leaf. A path of ours that does not fit counts
  // as signed: with no leaf to match, nothing is started.
  PathBuffer path;
  ClearText(&path);
  uint8_t own[kLeafRoom], leaf[kLeafRoom];
  uint32_t own_length = 0, length = 0;
  if (TakeWritten(&path, platform::ProgramPath(path.text, kMaxPath)) &&
      CarriesNone(platform::VerifySignature(path.text, nullptr, own, kLeafRoom, &own_length)))
    return true;
  ClearText(&path);
  if (!AppendAscii(&path, sibling) || !(g_held = platform::OpenHeld(path.text))) return false;
  return DigestVerified(platform::VerifySignature(path.text, g_held, leaf, kLeafRoom, &length)) && own_length != 0 &&
         length == own_length && std::memcmp(leaf, own, length) == 0;
}
