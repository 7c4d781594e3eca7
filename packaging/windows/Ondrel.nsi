; The Windows installer of the 64-bit plug-in: Ondrel.dll into the VST 2
; folder hosts search (Common Files\VST2, changeable on the folder page); the
; uninstaller, the licences and the notes into Program Files\Ondrel; an entry
; under Add or Remove Programs. /S installs silently, /D=FOLDER (last on the
; command line) picks the plug-in folder.
;
; makensis -DVERSION=2.3 -DPAYLOAD=<folder with Ondrel.dll and the texts> -DOUTFILE=<setup.exe> Ondrel.nsi

!ifndef VERSION | PAYLOAD | OUTFILE
  !error "define VERSION, PAYLOAD and OUTFILE"
!endif

; A 64-bit installer: it runs only where the 64-bit DLL can, and sees the
; 64-bit registry and Program Files without redirection.
Target amd64-unicode
Unicode true
SetCompressor /SOLID lzma
; Installed files keep the time they had when packed (the release's time).
SetDateSave on
RequestExecutionLevel admin

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ondrel"
!define SETTINGS_KEY "Software\Ondrel Audio\Ondrel"

Name "Ondrel ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$COMMONFILES64\VST2"
BrandingText "Ondrel ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define MUI_ABORTWARNING
!define MUI_DIRECTORYPAGE_TEXT_TOP "Setup will install the Ondrel VST 2 plug-in (Ondrel.dll) into the folder below, the folder most hosts search. If your host uses another folder for VST 2 plug-ins, choose it here."
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "VST 2 plug-in folder"
!insertmacro MUI_PAGE_LICENSE "${PAYLOAD}/LICENSE"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var ProgramFolder

Function .onInit
  SetRegView 64
  ; A second install offers the folder of the first, unless /D named one.
  ReadRegStr $0 HKLM "${SETTINGS_KEY}" "PluginFolder"
  ${If} $0 != ""
  ${AndIf} $INSTDIR == "$COMMONFILES64\VST2"
    StrCpy $INSTDIR $0
  ${EndIf}
FunctionEnd

; The outermost folder on the way to $INSTDIR that does not exist yet, in $R0
; ("" when $INSTDIR exists): the uninstaller removes the folders this install
; made, and no others.
Function OutermostMissingFolder
  StrCpy $R0 ""
  StrCpy $R1 $INSTDIR
  ${DoWhile} $R1 != ""
    ${If} ${FileExists} "$R1\*.*"
      ${Break}
    ${EndIf}
    StrCpy $R0 $R1
    ${GetParent} $R1 $R1
  ${Loop}
FunctionEnd

; Removes the DLL from the folder an install recorded, then that folder and
; its parents outwards up to the outermost one that install made; RMDir
; leaves a folder that is not empty. Both the installer (moving the plug-in
; to another folder) and the uninstaller need it.
!macro RemovePlugin
  ReadRegStr $0 HKLM "${SETTINGS_KEY}" "PluginFolder"
  ReadRegStr $1 HKLM "${SETTINGS_KEY}" "MadeFolder"
  ${If} $0 != ""
    Delete "$0\Ondrel.dll"
    ${If} $1 != ""
      StrCpy $2 $0
      ${DoWhile} $2 != ""
        RMDir $2
        ${If} $2 == $1
          ${Break}
        ${EndIf}
        ${GetParent} $2 $2
      ${Loop}
    ${EndIf}
  ${EndIf}
!macroend

Section "Ondrel"
  StrCpy $ProgramFolder "$PROGRAMFILES64\Ondrel"
  ReadRegStr $0 HKLM "${SETTINGS_KEY}" "PluginFolder"
  ; Into the same folder again: what the first install made stays recorded.
  ; Into another: the old copy goes, so that hosts do not find two.
  ${If} $0 != $INSTDIR
    !insertmacro RemovePlugin
    Call OutermostMissingFolder
    WriteRegStr HKLM "${SETTINGS_KEY}" "MadeFolder" $R0
  ${EndIf}
  SetOutPath "$INSTDIR"
  File "${PAYLOAD}/Ondrel.dll"

  SetOutPath "$ProgramFolder"
  File "${PAYLOAD}/LICENSE"
  File "${PAYLOAD}/THIRD-PARTY.txt"
  File "${PAYLOAD}/INSTALL.txt"
  WriteUninstaller "$ProgramFolder\Uninstall.exe"

  WriteRegStr HKLM "${SETTINGS_KEY}" "PluginFolder" "$INSTDIR"
  WriteRegStr HKLM "${SETTINGS_KEY}" "Plugin" "$INSTDIR\Ondrel.dll"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Ondrel ${VERSION} (VST 2 plug-in)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Ondrel Audio"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$ProgramFolder\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$ProgramFolder\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  DetailPrint "Ondrel.dll is in $INSTDIR"
SectionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Uninstall"
  ; Only what the install put there: the DLL in the folder it recorded, the
  ; folders it made if they are empty now, its own folder.
  !insertmacro RemovePlugin
  Delete "$INSTDIR\LICENSE"
  Delete "$INSTDIR\THIRD-PARTY.txt"
  Delete "$INSTDIR\INSTALL.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "Software\Ondrel Audio"
SectionEnd
