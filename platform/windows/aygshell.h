// The Pocket PC shell calls that the program uses, for builds on desktop
// Windows, where the handheld's shell library does not exist. Same names,
// record layout and values as on the handheld; implemented in aygshell.cpp.
#pragma once

#include <windows.h>

#define SHIDIM_FLAGS 0x0001

#define SHIDIF_DONEBUTTON 0x0001
#define SHIDIF_SIZEDLG 0x0002
#define SHIDIF_SIZEDLGFULLSCREEN 0x0004
#define SHIDIF_SIPDOWN 0x0008
#define SHIDIF_FULLSCREENNOMENUBAR 0x0010

#ifndef WS_EX_CAPTIONOKBTN
#define WS_EX_CAPTIONOKBTN 0x80000000L
#endif

typedef struct tagSHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
} SHINITDLGINFO, *PSHINITDLGINFO;

#ifdef __cplusplus
extern "C" {
#endif

BOOL WINAPI SHInitDialog(PSHINITDLGINFO pshidi);

#ifdef __cplusplus
}
#endif
