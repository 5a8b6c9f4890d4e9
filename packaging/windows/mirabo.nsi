; The Mirabo installer for Windows (NSIS 3, Unicode). Built by
; scripts/package-windows.sh, which defines VERSION, VERSION_QUAD, STAGE (the
; folder with the files to install) and OUTFILE.
;
; Installs for the current user (the default, no administrator rights) or for
; every user (/AllUsers, or the choice on the first page); /S installs
; silently. Its pages speak the user's language: Japanese for a Japanese
; Windows, English for any other (NSIS takes the first language below when
; none matches); the uninstaller speaks the language the installer spoke.
; The Start-menu shortcut is named in Japanese. The uninstaller removes every
; file, the shortcut and the registry keys it wrote.

; A 64-bit installer for the 64-bit programs (Unicode).
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Mirabo"
!define SHORTCUT "Mirabo 工学計算機"
!define REGKEY "Software\Mirabo"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Mirabo"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${REGKEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${REGKEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallDir"
!include MultiUser.nsh
!include MUI2.nsh
!include x64.nsh

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=0 "CompanyName" "Mirabo 開発チーム"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (C) 2026 The Mirabo developers"

!define MUI_ICON "${STAGE}\mirabo.ico"
!define MUI_UNICON "${STAGE}\mirabo.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\mirabo.exe"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString NEEDS_X64 ${LANG_ENGLISH} "Mirabo runs on 64-bit Windows."
LangString NEEDS_X64 ${LANG_JAPANESE} "Mirabo は 64 ビット版の Windows で動きます。"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "$(NEEDS_X64)"
    Abort
  ${EndIf}
  SetRegView 64
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
  ReadRegStr $0 SHCTX "${REGKEY}" "Language"
  StrCmp $0 "" +2
  StrCpy $LANGUAGE $0
FunctionEnd

Section "Mirabo"
  SetOutPath "$INSTDIR"
  File "${STAGE}\mirabo.exe"
  File "${STAGE}\mirabo-calc.exe"
  File "${STAGE}\README.md"
  File "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${SHORTCUT}.lnk" "$INSTDIR\mirabo.exe" "" "$INSTDIR\mirabo.exe" 0

  WriteRegStr SHCTX "${REGKEY}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${REGKEY}" "Language" "$LANGUAGE"
  WriteRegStr SHCTX "${REGKEY}" "InstallDir" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTKEY}" "Publisher" "Mirabo 開発チーム"
  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\mirabo.exe,0"
  WriteRegStr SHCTX "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTKEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${SHORTCUT}.lnk"
  Delete "$INSTDIR\mirabo.exe"
  Delete "$INSTDIR\mirabo-calc.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTKEY}"
  DeleteRegKey SHCTX "${REGKEY}"
SectionEnd
