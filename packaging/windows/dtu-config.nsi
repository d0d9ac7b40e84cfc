; The 64-bit installer of dtu-config for Windows. makensis gets VERSION (1.7.3.0), EXE (the static
; dtu-config.exe), COPYRIGHT (the licence text) and OUTFILE from scripts/windows-package.sh.
Unicode true
; A 64-bit installer: it runs where only 64-bit Windows (and 64-bit Wine) is, and installs a 64-bit program.
Target amd64-unicode
!include "MUI2.nsh"
!include "x64.nsh"

Name "dtu-config ${VERSION}"
OutFile "${OUTFILE}"
; The program folder is not the user's to write: program.ini then lives in %APPDATA%\dtu-config, which the
; program chooses by itself.
InstallDir "$PROGRAMFILES64\dtu-config"
InstallDirRegKey HKLM "Software\dtu-config" "InstallDir"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "dtu-config"
VIAddVersionKey "FileDescription" "dtu-config installer"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Torvane IoT Co., Ltd."

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_LICENSE "${COPYRIGHT}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\dtu-config.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "dtu-config needs 64-bit Windows."
    Abort
  ${EndIf}
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "dtu-config"
  SetOutPath "$INSTDIR"
  File "/oname=dtu-config.exe" "${EXE}"
  File "/oname=copyright.txt" "${COPYRIGHT}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "Software\dtu-config" "InstallDir" "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\dtu-config.lnk" "$INSTDIR\dtu-config.exe"
  !define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\dtu-config"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "dtu-config"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Torvane IoT Co., Ltd."
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\dtu-config.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The user's program.ini in %APPDATA% stays: it holds their settings, as a reinstall expects.
Section "Uninstall"
  Delete "$INSTDIR\dtu-config.exe"
  Delete "$INSTDIR\copyright.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\dtu-config.lnk"
  DeleteRegKey HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\dtu-config"
  DeleteRegKey HKLM "Software\dtu-config"
SectionEnd
