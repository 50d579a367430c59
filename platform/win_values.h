// Windows' own numbers that the programs hand through the seam, named once.
// platform/win32/win_values_check.cpp holds each against <windows.h>.
#pragma once
#include "platform/types.h"

namespace platform {

// Window classes and windows.
constexpr uint32_t kCsHRedrawVRedraw = 0x0003;
constexpr uint32_t kWsOverlappedWindow = 0x00CF0000;
constexpr int32_t kCwUseDefault = static_cast<int32_t>(0x80000000);
constexpr uint16_t kIdiApplication = 32512;
constexpr uint16_t kIdcArrow = 32512;
constexpr uintptr_t kColorMenu = 4, kColorWindow = 5;  // a brush is one of these plus one
constexpr int32_t kSwHide = 0, kSwShowNormal = 1;

// Messages, and what some of them carry.
constexpr uint32_t kWmNull = 0x0000, kWmDestroy = 0x0002, kWmPaint = 0x000F, kWmClose = 0x0010;
constexpr uint32_t kWmCancelMode = 0x001F, kWmCommand = 0x0111, kWmSysCommand = 0x0112;
constexpr uint32_t kWmHotkey = 0x0312, kWmPowerBroadcast = 0x0218, kWmUser = 0x0400;
constexpr intptr_t kWmLButtonDown = 0x0201, kWmLButtonUp = 0x0202, kWmLButtonDblClk = 0x0203;
constexpr intptr_t kWmRButtonDown = 0x0204, kWmRButtonUp = 0x0205;
constexpr uint32_t kPbtPowerSettingChange = 0x8013;
constexpr uintptr_t kScMonitorPower = 0xF170;
constexpr uintptr_t kHwndBroadcast = 0xFFFF;
constexpr uint32_t kSmtoAbortIfHung = 0x0002;
constexpr uint32_t kMsgfltAllow = 1;
constexpr uint32_t kDeviceNotifyWindowHandle = 0;
constexpr int32_t kWhKeyboardLl = 13;
// A hotkey's modifiers, and the one key the programs name that is no letter.
constexpr uint32_t kModAlt = 0x1, kModControl = 0x2, kModShift = 0x4, kModNoRepeat = 0x4000;
constexpr uint32_t kVkF12 = 0x7B;

// The notification area and menus.
constexpr uint32_t kNimAdd = 0, kNimModify = 1, kNimDelete = 2;
constexpr uint32_t kNifMessage = 0x1, kNifIcon = 0x2, kNifTip = 0x4, kNifInfo = 0x10;
constexpr uint32_t kNiifWarning = 0x2;
constexpr uint32_t kMfString = 0x0000, kMfChecked = 0x0008, kMfPopup = 0x0010, kMfByPosition = 0x0400;
constexpr uint32_t kMfSeparator = 0x0800;
constexpr uint32_t kTpmRightButton = 0x0002;

// Processes, files, the screen, the shell.
constexpr uint32_t kTh32csSnapProcess = 0x00000002;
constexpr uint32_t kProcessAllAccess = 0x1FFFFF;
constexpr uint32_t kLoadLibrarySearchSystem32 = 0x00000800;
constexpr uint32_t kInfinite = 0xFFFFFFFF;
constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFF;
constexpr uint32_t kFileAttributeDirectory = 0x10;
constexpr uint32_t kFileAttributeReparsePoint = 0x400;
constexpr int32_t kDesktopVertRes = 117, kDesktopHorzRes = 118;  // physical, whatever the scaling
constexpr int32_t kCsidlStartup = 7, kCsidlCommonStartup = 24;
constexpr uint32_t kClsctxInprocServer = 1;

// Rights in an access entry of a file or folder, and what the entry's header says.
constexpr uint32_t kFileAddFile = 0x2, kFileAddSubdirectory = 0x4, kFileDeleteChild = 0x40;
constexpr uint32_t kDelete = 0x10000, kWriteDac = 0x40000, kWriteOwner = 0x80000;
constexpr uint32_t kGenericAll = 0x10000000, kGenericWrite = 0x40000000;
constexpr uint8_t kInheritOnlyAce = 0x08;
constexpr uint8_t kAccessDeniedAceType = 1, kAccessDeniedObjectAceType = 6;
constexpr uint8_t kAccessDeniedCallbackAceType = 10, kAccessDeniedCallbackObjectAceType = 12;

// WinVerifyTrust's answers: no signature at all, or one whose digest verified
// though Windows does not trust its chain; any other is a signature that fails.
constexpr int32_t kTrustNoSignature = static_cast<int32_t>(0x800B0100);
constexpr int32_t kTrustSubjectFormUnknown = static_cast<int32_t>(0x800B0003);
constexpr int32_t kTrustProviderUnknown = static_cast<int32_t>(0x800B0001);
constexpr int32_t kCertUntrustedRoot = static_cast<int32_t>(0x800B0109);
constexpr int32_t kCertUntrustedTestRoot = static_cast<int32_t>(0x800B010D);
constexpr int32_t kCertChaining = static_cast<int32_t>(0x800B010A);
constexpr int32_t kCertExpired = static_cast<int32_t>(0x800B0101);
constexpr int32_t kCertRevocationFailure = static_cast<int32_t>(0x800B010E);
constexpr int32_t kCryptNoRevocationCheck = static_cast<int32_t>(0x80092012);
constexpr int32_t kCryptRevocationOffline = static_cast<int32_t>(0x80092013);
// No answer at all: the trust library could not be loaded from the system folder.
constexpr int32_t kTrustCannotCheck = static_cast<int32_t>(0x8007007E);

// {00021401-0000-0000-C000-000000000046}
constexpr Guid kClsidShellLink = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
// {000214F9-0000-0000-C000-000000000046}
constexpr Guid kIidShellLinkW = {0x000214F9, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
// {0000010B-0000-0000-C000-000000000046}
constexpr Guid kIidPersistFile = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
// {6FE69556-704A-47A0-8F24-C28D936FDA47}
constexpr Guid kGuidConsoleDisplayState = {
    0x6FE69556, 0x704A, 0x47A0, {0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47}};

}  // namespace platform
