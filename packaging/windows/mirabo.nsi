; The Mirabo installer for Windows (NSIS 3, Unicode). Built by
; scripts/package-windows.sh, which defines VERSION, VERSION_QUAD, STAGE (the
; folder with the files to install) and OUTFILE.
;
; Installs for the current user (the default, no administrator rights, no
; elevation prompt) or for every user (/AllUsers, or the choice on its page),
; for which it starts itself again with administrator rights, asking for
; them; /S installs silently. Its pages speak the user's language: Japanese for a Japanese
; Windows, English for any other (NSIS takes the first language below when
; none matches); the uninstaller speaks the language the installer spoke.
; The Start-menu shortcut is named in Japanese. The uninstaller removes every
; file, the shortcut and the registry keys it wrote.
;
; The install folder is added to the PATH of whom it installs for (the user's
; HKCU\Environment, or the system's for every user), so that mirabo-calc.exe
; runs from any console; the components page or /NoPath leave the PATH alone.
; Only an entry it added is recorded (PathEntry), and the uninstaller takes
; out exactly that entry, leaving the value as it found it.

; A 64-bit installer for the 64-bit programs (Unicode).
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Mirabo"
!define SHORTCUT "Mirabo 工学計算機"
!define REGKEY "Software\Mirabo"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Mirabo"

; MultiUser's code for both kinds of install comes with the level Highest,
; whose manifest would ask an administrator for elevation even for a
; per-user install: the manifest asks for no more than the user's own rights
; (RequestExecutionLevel below), and the install for every user asks for
; administrator rights itself (ElevateForAllUsers).
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
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
!include FileFunc.nsh
!include LogicLib.nsh
!include WinMessages.nsh
RequestExecutionLevel user

!define USER_ENVIRONMENT "Environment"
!define SYSTEM_ENVIRONMENT "SYSTEM\CurrentControlSet\Control\Session Manager\Environment"

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
!define MULTIUSER_PAGE_CUSTOMFUNCTION_LEAVE InstallModeLeave
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString NEEDS_X64 ${LANG_ENGLISH} "Mirabo runs on 64-bit Windows."
LangString NEEDS_X64 ${LANG_JAPANESE} "Mirabo は 64 ビット版の Windows で動きます。"
LangString SECTION_PATH ${LANG_ENGLISH} "Add mirabo-calc to the PATH"
LangString SECTION_PATH ${LANG_JAPANESE} "mirabo-calc を PATH に追加"
LangString PATH_TOO_LONG ${LANG_ENGLISH} "The PATH is too long to change here; it is left as it is."
LangString PATH_TOO_LONG ${LANG_JAPANESE} "PATH が長すぎるため変更しません。"

; The account's own rights (UserInfo::GetAccountType): Admin when the
; process has administrator rights.
Var Rights

; Runs this installer (or uninstaller) again with administrator rights, Windows
; asking the user for them, with /AllUsers and the same parameters (and
; $R1 after them), waits for it and quits with its exit status. Returns only
; when the copy could not be started (the user refused).
; SHELLEXECUTEINFOW as 64-bit Windows lays it out, its padding written out:
; cbSize, fMask (SEE_MASK_NOCLOSEPROCESS), hwnd, lpVerb, lpFile,
; lpParameters, lpDirectory, nShow, -, hInstApp, lpIDList, lpClass,
; hkeyClass, dwHotKey, -, hIcon, hProcess.
!macro ELEVATE_FOR_ALL_USERS prefix
Function ${prefix}ElevateForAllUsers
  ${${prefix}GetParameters} $R0
  System::Call '*(i 112, i 0x40, p $HWNDPARENT, w "runas", w "$EXEPATH", w "/AllUsers $R0 $R1", p 0, i ${SW_SHOWNORMAL}, i 0, p 0, p 0, p 0, p 0, i 0, i 0, p 0, p 0) p .r9'
  System::Call 'shell32::ShellExecuteExW(p r9) i .r8'
  ${If} $8 = 0
    System::Free $9
    Return
  ${EndIf}
  System::Call '*$9(i, i, p, p, p, p, p, i, i, p, p, p, p, i, i, p, p .r7)'
  System::Free $9
  StrCpy $6 2
  ${If} $7 P<> 0
    System::Call 'kernel32::WaitForSingleObject(p r7, i -1)'
    System::Call 'kernel32::GetExitCodeProcess(p r7, *i .r6)'
    System::Call 'kernel32::CloseHandle(p r7)'
  ${EndIf}
  SetErrorLevel $6
  Quit
FunctionEnd
!macroend
!insertmacro ELEVATE_FOR_ALL_USERS ""
!insertmacro ELEVATE_FOR_ALL_USERS "un."

; Every user chosen on the page by a user without administrator rights: the
; install goes on in a copy that has them; refused, the page stays.
Function InstallModeLeave
  ${If} $MultiUser.InstallMode == "AllUsers"
  ${AndIf} $Rights != "Admin"
    HideWindow
    StrCpy $R1 ""
    Call ElevateForAllUsers
    ShowWindow $HWNDPARENT ${SW_SHOW}
    Abort
  ${EndIf}
FunctionEnd

; $R2 := where $R1 starts in $R0 (both compared without regard to case), or -1.
!macro FIND_IN_STRING prefix
Function ${prefix}FindInString
  Push $R3
  Push $R4
  Push $R5
  StrLen $R3 $R0
  StrLen $R4 $R1
  StrCpy $R2 0
  ${Do}
    IntOp $R5 $R2 + $R4
    ${If} $R5 > $R3
      StrCpy $R2 -1
      ${Break}
    ${EndIf}
    StrCpy $R5 $R0 $R4 $R2
    ${If} $R5 == $R1
      ${Break}
    ${EndIf}
    IntOp $R2 $R2 + 1
  ${Loop}
  Pop $R5
  Pop $R4
  Pop $R3
FunctionEnd
!macroend
!insertmacro FIND_IN_STRING ""
!insertmacro FIND_IN_STRING "un."

; $R0 := the PATH value of whom Mirabo is installed for, unexpanded; the
; error flag is set when there is none.
!macro READ_PATH
  ClearErrors
  ${If} $MultiUser.InstallMode == "AllUsers"
    ReadRegStr $R0 HKLM "${SYSTEM_ENVIRONMENT}" "Path"
  ${Else}
    ReadRegStr $R0 HKCU "${USER_ENVIRONMENT}" "Path"
  ${EndIf}
!macroend

; Writes $R0 as that PATH value, as REG_EXPAND_SZ (the type Windows gives it),
; or deletes the value when $R0 is empty; tells the running programs.
!macro WRITE_PATH
  ${If} $MultiUser.InstallMode == "AllUsers"
    ${If} $R0 == ""
      DeleteRegValue HKLM "${SYSTEM_ENVIRONMENT}" "Path"
    ${Else}
      WriteRegExpandStr HKLM "${SYSTEM_ENVIRONMENT}" "Path" $R0
    ${EndIf}
  ${Else}
    ${If} $R0 == ""
      DeleteRegValue HKCU "${USER_ENVIRONMENT}" "Path"
    ${Else}
      WriteRegExpandStr HKCU "${USER_ENVIRONMENT}" "Path" $R0
    ${EndIf}
  ${EndIf}
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
!macroend

Function un.onInit
  SetRegView 64
  UserInfo::GetAccountType
  Pop $Rights
  ${un.GetParameters} $R0
  ClearErrors
  ${un.GetOptions} $R0 "/AllUsers" $R1
  ${IfNot} ${Errors}
  ${AndIf} $Rights != "Admin"
    ; The copy in the temporary folder runs on the installed folder.
    StrCpy $R1 "_?=$INSTDIR"
    Call un.ElevateForAllUsers
    SetErrorLevel 2
    Quit
  ${EndIf}
  !insertmacro MULTIUSER_UNINIT
  ReadRegStr $0 SHCTX "${REGKEY}" "Language"
  StrCmp $0 "" +2
  StrCpy $LANGUAGE $0
FunctionEnd

Section "Mirabo" SectionProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}\mirabo.exe"
  File "${STAGE}\mirabo-calc.exe"
  File "${STAGE}\README.txt"
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

; The install folder at the end of the PATH, unless it is there already.
; A value that ends in ";" keeps its last ";" after the new entry, so that
; taking the entry out again gives back the value's very bytes.
Section "$(SECTION_PATH)" SectionPath
  !insertmacro READ_PATH
  StrCpy $R1 ";$INSTDIR;"
  Push $R0
  StrCpy $R0 ";$R0;"
  Call FindInString
  Pop $R0
  ${If} $R2 >= 0
    DetailPrint "PATH: $INSTDIR"
    Return
  ${EndIf}
  StrLen $R3 $R0
  StrLen $R4 $INSTDIR
  IntOp $R3 $R3 + $R4
  IntOp $R3 $R3 + 3
  ${If} $R3 >= ${NSIS_MAX_STRLEN}
    DetailPrint "$(PATH_TOO_LONG)"
    Return
  ${EndIf}
  ${If} $R0 == ""
    StrCpy $R0 "$INSTDIR"
  ${ElseIf} $R0 == ";"
    StrCpy $R0 ";$INSTDIR;"
  ${Else}
    StrCpy $R3 $R0 1 -1
    ${If} $R3 == ";"
      StrCpy $R0 "$R0$INSTDIR;"
    ${Else}
      StrCpy $R0 "$R0;$INSTDIR"
    ${EndIf}
  ${EndIf}
  !insertmacro WRITE_PATH
  WriteRegStr SHCTX "${REGKEY}" "PathEntry" "$INSTDIR"
  DetailPrint "PATH: $INSTDIR"
SectionEnd

Section "Uninstall"
  ; Out of the PATH: the entry the installer added, and nothing else.
  ReadRegStr $R1 SHCTX "${REGKEY}" "PathEntry"
  ${If} $R1 != ""
    !insertmacro READ_PATH
    StrLen $R3 $R0
    IntOp $R3 $R3 + 3
    ${If} $R3 >= ${NSIS_MAX_STRLEN}
      DetailPrint "$(PATH_TOO_LONG)"
    ${Else}
      StrCpy $R5 $R1
      StrCpy $R1 ";$R5;"
      StrCpy $R0 ";$R0;"
      Call un.FindInString
      ${If} $R2 >= 0
        StrCpy $R3 $R0 $R2
        StrLen $R4 $R1
        IntOp $R4 $R4 + $R2
        StrCpy $R4 $R0 "" $R4
        ; ";before" + ";" + "after;", without the two ";" put around it.
        StrCpy $R0 "$R3;$R4"
        StrCpy $R0 $R0 "" 1
        StrCpy $R0 $R0 -1
        !insertmacro WRITE_PATH
      ${EndIf}
    ${EndIf}
  ${EndIf}
  Delete "$SMPROGRAMS\${SHORTCUT}.lnk"
  Delete "$INSTDIR\mirabo.exe"
  Delete "$INSTDIR\mirabo-calc.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTKEY}"
  DeleteRegKey SHCTX "${REGKEY}"
SectionEnd

; After the sections, whose indexes it uses.
Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "$(NEEDS_X64)"
    Abort
  ${EndIf}
  SetRegView 64
  UserInfo::GetAccountType
  Pop $Rights
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/AllUsers" $R1
  ${IfNot} ${Errors}
  ${AndIf} $Rights != "Admin"
    StrCpy $R1 ""
    Call ElevateForAllUsers
    SetErrorLevel 2
    Quit
  ${EndIf}
  !insertmacro MULTIUSER_INIT
  ; The page offers every user to anyone; choosing it without administrator
  ; rights starts the installer again with them (InstallModeLeave).
  StrCpy $MultiUser.Privileges "Admin"
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/NoPath" $R1
  ${IfNot} ${Errors}
    SectionSetFlags ${SectionPath} 0
  ${EndIf}
FunctionEnd
