#include "common/same_publisher.h"

#include <cstring>

#include "common/text_buffer.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/trust.h"
#include "platform/win_values.h"

using platform::kCertChaining, platform::kCertExpired, platform::kCertRevocationFailure, platform::kCertUntrustedRoot,
    platform::kCertUntrustedTestRoot, platform::kCryptNoRevocationCheck, platform::kCryptRevocationOffline;

// Room for a leaf certificate: real ones are one or two kilobytes.
constexpr uint32_t kLeafRoom = 4096;

static platform::Handle g_held = nullptr;

// The digest verified; whether Windows trusts the chain (an unknown root, a
// revocation list out of reach, an expired certificate without a timestamp)
// is not the question: the leaf is compared with our own.
static bool DigestVerified(int32_t result) {
  return result == 0 || result == kCertUntrustedRoot || result == kCertUntrustedTestRoot || result == kCertChaining ||
         result == kCertExpired || result == kCertRevocationFailure || result == kCryptNoRevocationCheck ||
         result == kCryptRevocationOffline;
}

// Our own leaf, read from the very file that runs: a copy renamed away while
// it runs, or one whose trust library is missing, has none, and starts nothing.
static uint32_t OwnLeaf(uint8_t* own) {
  PathBuffer path;
  ClearText(&path);
  platform::Handle image = platform::OpenOwnImage(path.text, kMaxPath);
  if (!image) return 0;
  uint32_t length = 0;
  bool verified = DigestVerified(platform::VerifySignature(path.text, image, own, kLeafRoom, &length));
  platform::CloseHandle(image);
  return verified ? length : 0;
}

bool SiblingOfOurPublisher(const char* sibling) {
  if (g_held) platform::CloseHandle(g_held);
  g_held = nullptr;
  // Whether we carry a signature comes from our image in memory, never from
  // a file found by name: only an unsigned build starts any sibling.
  if (!platform::ImageCarriesSignature()) return true;
  uint8_t own[kLeafRoom], leaf[kLeafRoom];
  uint32_t own_length = OwnLeaf(own), length = 0;
  if (own_length == 0) return false;
  PathBuffer path;
  ClearText(&path);
  if (!AppendAscii(&path, sibling) || !(g_held = platform::OpenHeld(path.text))) return false;
  return DigestVerified(platform::VerifySignature(path.text, g_held, leaf, kLeafRoom, &length)) &&
         length == own_length && std::memcmp(leaf, own, length) == 0;
}
