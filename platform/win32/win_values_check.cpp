// The seam's names for Windows' numbers, held against the headers themselves:
// a wrong one does not build. Nothing here runs.
#define OEMRESOURCE  // the numbers behind IDI_APPLICATION and IDC_ARROW, which are pointers
#include "platform/win32/win32.h"

#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include "platform/win_values.h"

namespace platform {

static_assert(kCsHRedrawVRedraw == (CS_HREDRAW | CS_VREDRAW), "");
static_assert(kWsOverlappedWindow == WS_OVERLAPPEDWINDOW, "");
static_assert(kCwUseDefault == CW_USEDEFAULT, "");
static_assert(kIdiApplication == OIC_SAMPLE && kIdcArrow == OCR_NORMAL, "");
static_assert(kColorMenu == COLOR_MENU && kColorWindow == COLOR_WINDOW, "");
static_assert(kSwHide == SW_HIDE && kSwShowNormal == SW_SHOWNORMAL, "");

static_assert(kWmNull == WM_NULL && kWmDestroy == WM_DESTROY && kWmPaint == WM_PAINT && kWmClose == WM_CLOSE, "");
static_assert(kWmCancelMode == WM_CANCELMODE && kWmCommand == WM_COMMAND && kWmSysCommand == WM_SYSCOMMAND, "");
static_assert(kWmPowerBroadcast == WM_POWERBROADCAST && kWmUser == WM_USER, "");
static_assert(kWmLButtonDown == WM_LBUTTONDOWN && kWmLButtonUp == WM_LBUTTONUP, "");
static_assert(kWmLButtonDblClk == WM_LBUTTONDBLCLK, "");
static_assert(kWmRButtonDown == WM_RBUTTONDOWN && kWmRButtonUp == WM_RBUTTONUP, "");
static_assert(kPbtPowerSettingChange == PBT_POWERSETTINGCHANGE, "");
static_assert(kScMonitorPower == SC_MONITORPOWER, "");
static_assert(kHwndBroadcast == 0xFFFF, "HWND_BROADCAST is ((HWND)0xffff)");
static_assert(kSmtoAbortIfHung == SMTO_ABORTIFHUNG, "");
static_assert(kMsgfltAllow == MSGFLT_ALLOW, "");
static_assert(kDeviceNotifyWindowHandle == DEVICE_NOTIFY_WINDOW_HANDLE, "");
static_assert(kWhKeyboardLl == WH_KEYBOARD_LL, "");

static_assert(kNimAdd == NIM_ADD && kNimModify == NIM_MODIFY && kNimDelete == NIM_DELETE, "");
static_assert(kNifMessage == NIF_MESSAGE && kNifIcon == NIF_ICON && kNifTip == NIF_TIP && kNifInfo == NIF_INFO, "");
static_assert(kNiifWarning == NIIF_WARNING, "");
static_assert(kMfString == MF_STRING && kMfPopup == MF_POPUP && kMfByPosition == MF_BYPOSITION, "");
static_assert(kMfSeparator == MF_SEPARATOR && kTpmRightButton == TPM_RIGHTBUTTON && kMfChecked == MF_CHECKED, "");
static_assert(kWmHotkey == WM_HOTKEY && kModAlt == MOD_ALT && kModControl == MOD_CONTROL && kModShift == MOD_SHIFT, "");
static_assert(kModNoRepeat == MOD_NOREPEAT && kVkF12 == VK_F12, "");

static_assert(kTh32csSnapProcess == TH32CS_SNAPPROCESS && kProcessAllAccess == PROCESS_ALL_ACCESS, "");
static_assert(kLoadLibrarySearchSystem32 == LOAD_LIBRARY_SEARCH_SYSTEM32 && kInfinite == INFINITE, "");
static_assert(kInvalidFileAttributes == INVALID_FILE_ATTRIBUTES, "");
static_assert(kFileAttributeDirectory == FILE_ATTRIBUTE_DIRECTORY, "");
static_assert(kFileAttributeReparsePoint == FILE_ATTRIBUTE_REPARSE_POINT, "");
static_assert(kDesktopVertRes == DESKTOPVERTRES && kDesktopHorzRes == DESKTOPHORZRES, "");
static_assert(kCsidlStartup == CSIDL_STARTUP && kCsidlCommonStartup == CSIDL_COMMON_STARTUP, "");
static_assert(kClsctxInprocServer == CLSCTX_INPROC_SERVER, "");
static_assert(kFileAddFile == FILE_ADD_FILE && kFileAddSubdirectory == FILE_ADD_SUBDIRECTORY, "");
static_assert(kFileDeleteChild == FILE_DELETE_CHILD && kDelete == DELETE, "");
static_assert(kWriteDac == WRITE_DAC && kWriteOwner == WRITE_OWNER, "");
static_assert(kGenericAll == GENERIC_ALL && kGenericWrite == GENERIC_WRITE, "");
static_assert(kInheritOnlyAce == INHERIT_ONLY_ACE, "");
static_assert(kAccessDeniedAceType == ACCESS_DENIED_ACE_TYPE, "");
static_assert(kAccessDeniedObjectAceType == ACCESS_DENIED_OBJECT_ACE_TYPE, "");
static_assert(kAccessDeniedCallbackAceType == ACCESS_DENIED_CALLBACK_ACE_TYPE, "");
static_assert(kAccessDeniedCallbackObjectAceType == ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE, "");
static_assert(kTrustNoSignature == TRUST_E_NOSIGNATURE && kTrustSubjectFormUnknown == TRUST_E_SUBJECT_FORM_UNKNOWN, "");
static_assert(kTrustProviderUnknown == TRUST_E_PROVIDER_UNKNOWN && kCertUntrustedRoot == CERT_E_UNTRUSTEDROOT, "");
static_assert(kCertUntrustedTestRoot == CERT_E_UNTRUSTEDTESTROOT && kCertChaining == CERT_E_CHAINING, "");
static_assert(kCertExpired == CERT_E_EXPIRED && kCertRevocationFailure == CERT_E_REVOCATION_FAILURE, "");
static_assert(kCryptNoRevocationCheck == CRYPT_E_NO_REVOCATION_CHECK, "");
static_assert(kCryptRevocationOffline == CRYPT_E_REVOCATION_OFFLINE, "");
static_assert(kTrustCannotCheck == static_cast<int32_t>(0x80070000 | ERROR_MOD_NOT_FOUND), "");

static_assert(sizeof(Guid) == sizeof(GUID), "");
static_assert(sizeof(Message) == sizeof(MSG), "");

// The headers declare GUIDs as objects, not constants, so no build can hold
// the four GUIDs against them; they stand once, in win_values.h.

}  // namespace platform
