// The window procedures of the engine's windows and the classes they serve: the
// forms' and the picture boxes' own classes, the hidden owner of the dialogs,
// and the subclass that gives a standard control's focus and end to its peer.
#pragma once

#include "engine/platform.h"  // the engine's names before the macros of <windows.h>

#include <windows.h>

namespace win32 {

inline constexpr wchar_t kFormClass[] = L"TrevoForm";
inline constexpr wchar_t kPictureClass[] = L"TrevoPicture";
inline constexpr wchar_t kOwnerClass[] = L"TrevoOwner";
inline constexpr wchar_t kNoticeClass[] = L"TrevoNotice";

void RegisterWindowClasses(HINSTANCE instance);

// A window of a standard class (EDIT, BUTTON, ...), already adopted by its peer.
void SubclassStandardControl(HWND hwnd);

}  // namespace win32
