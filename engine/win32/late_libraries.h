// The libraries only some clicks need - the file chooser's, and COM with the
// imaging codecs that read pictures - are loaded at their first use instead of
// with the program, so that a start, which needs neither when no desktop has a
// wallpaper, does not pay for loading and initialising them. They stay loaded
// until the program ends. The scale calls newer than Windows 7 are found the
// same way, so that Trevo still starts where they are missing.
#pragma once

#include "engine/win32/handles.h"

#include <commdlg.h>
#include <wincodec.h>

namespace win32 {

// comdlg32's GetOpenFileNameW; FALSE, as for a cancelled chooser, when the
// library cannot be loaded.
BOOL LateGetOpenFileNameW(OPENFILENAMEW* record);

// The imaging factory, COM first initialised on this thread if the program has
// not done so yet; a failed HRESULT when the libraries cannot be loaded.
HRESULT LateCreateImagingFactory(IWICImagingFactory** factory);
HRESULT LateWICConvertBitmapSource(REFWICPixelFormatGUID format, IWICBitmapSource* source,
                                   IWICBitmapSource** converted);

// The scale calls newer than Windows 7: 0 (or false) where this Windows lacks them.
UINT LateGetDpiForWindow(HWND hwnd);                       // user32, Windows 10 1607
int LateGetSystemMetricsForDpi(int index, UINT dpi);       // user32, Windows 10 1607
bool LateGetDpiForMonitor(HMONITOR monitor, UINT* dpi);    // shcore, Windows 8.1, the effective DPI
// user32, Windows 10 1607: the system's metrics (SPI_GETNONCLIENTMETRICS) at any DPI.
bool LateSystemParametersInfoForDpi(UINT action, UINT param, void* value, UINT dpi);

// Ends COM on this thread if a picture started it; the engine calls it last.
void EndLateCom();

}  // namespace win32
