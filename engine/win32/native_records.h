// The program fills the notification and file-chooser records in the layouts
// of 32-bit Windows, which the simulated Windows checks byte for byte. Windows
// takes the layout of the process it runs in: in a 64-bit Trevo.exe handles
// and pointers are 8 bytes wide and the fields move. These copy a record into
// the build's own layout, field by field, and the chooser's answer back.
#pragma once

#include "engine/platform.h"
#include "engine/win32/handles.h"

#include <commdlg.h>
#include <shellapi.h>

namespace win32 {

// The size the program gives each record: the original 88-byte notification
// record and the 76-byte chooser record of 32-bit Windows.
inline constexpr engine::Dword kNotifyRecordSize32 = 88;
inline constexpr engine::Dword kNotifyRecordV2Size32 = 936;  // the wide one
inline constexpr engine::Dword kChooserRecordSize32 = 76;

// The original NOTIFYICONDATAA (no balloon, no version) in this build's layout;
// nothing when the program's record claims another size, which it cannot hold.
bool ToNativeNotifyRecord(const engine::NotifyIconDataA& record, NOTIFYICONDATAA& native);
// The wide record of Windows 2000 (NOTIFYICONDATAW_V2_SIZE, with the balloon)
// in this build's layout; nothing for a record of another size.
bool ToNativeNotifyRecordV2(const engine::NotifyIconDataV2W& record, NOTIFYICONDATAW& native);

// The older OPENFILENAMEW in this build's layout. A record with an instance or
// a hook (addresses, which a 32-bit field cannot carry in a 64-bit process) or
// another size is refused: Trevo never sets them.
bool ToNativeChooserRecord(const engine::OpenFileNameW& record, OPENFILENAMEW& native);

// What the chooser writes into its record besides the file buffers, which
// both records share: the flags, the chosen filter and the name's offsets.
void CopyChooserAnswer(const OPENFILENAMEW& native, engine::OpenFileNameW& record);

}  // namespace win32
