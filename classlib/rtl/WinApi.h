// The one way into the Win32 API: every file that needs the system's declarations includes
// this header, never <windows.h> or the shell headers directly.
//
// The system headers map generic names to their wide functions by macro (`TextOut` becomes
// `TextOutW`), which would silently rename our own functions and methods of the same name and
// make them unreachable under the name callers use. The macros below are removed after the
// headers are read; call the system's wide functions by their W names (`DrawTextW`). When a name
// of ours collides with a macro not listed here, add it to the list.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <commctrl.h>
#include <lm.h>
#include <mstask.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <tlhelp32.h>
#include <urlhist.h>
#include <wininet.h>

// Files and folders
#undef CopyFile
#undef CreateDirectory
#undef DeleteFile
#undef FindFirstFile
#undef FindNextFile
#undef GetCurrentDirectory
#undef GetDiskFreeSpaceEx
#undef GetDriveType
#undef GetFileAttributes
#undef GetTempFileName
#undef GetTempPath
#undef GetWindowsDirectory
#undef MoveFile
#undef RemoveDirectory
#undef ReplaceFile
#undef SearchPath
#undef SetCurrentDirectory
#undef SetFileAttributes

// Processes, modules, registry and system
#undef CreateProcess
#undef FindResource
#undef GetComputerName
#undef GetLocaleInfo
#undef GetModuleFileName
#undef GetUserName
#undef GetVersionEx
#undef LoadLibrary
#undef RegDeleteKey
#undef RegDeleteTree
#undef RegDeleteValue
#undef RegEnumKeyEx
#undef RegEnumValue
#undef RegOpenKeyEx
#undef RegQueryValueEx
#undef SystemParametersInfo

// Windows and messages
#undef CallWindowProc
#undef CreateWindow
#undef CreateWindowEx
#undef DefWindowProc
#undef DispatchMessage
#undef FindWindow
#undef GetClassName
#undef GetMessage
#undef GetWindowLong
#undef GetWindowLongPtr
#undef GetWindowText
#undef MessageBox
#undef PeekMessage
#undef PostMessage
#undef PostThreadMessage
#undef RegisterClass
#undef RegisterWindowMessage
#undef SendMessage
#undef SetWindowLong
#undef SetWindowLongPtr
#undef SetWindowText

// Painting and resources
#undef CreateFont
#undef DrawText
#undef DrawTextEx
#undef ExtTextOut
#undef GetObject
#undef LoadBitmap
#undef LoadCursor
#undef LoadIcon
#undef LoadImage
#undef LoadString
#undef TextOut

// Shell
#undef ExtractIcon
#undef SHGetFileInfo
#undef SHGetSpecialFolderPath
#undef ShellExecute
#undef Shell_NotifyIcon
#undef StrToInt

// Internet cache
#undef DeleteUrlCacheEntry
