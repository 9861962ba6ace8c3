; The installer of the Windows clock: per user, without administrator rights, into
; %LOCALAPPDATA%\Programs\Die Lurvendel, with two Start-menu entries and an uninstaller.
; /S installs (and uninstalls) silently. A clock of the user's that runs is ended first, its own
; way; one that stays for its armed alarm makes the installer or uninstaller fail (status 2) and
; change nothing. A clock the installer ended runs again from the new program.
; makensis -DVERSION=0.1.0 -DPROGRAM=lurvendel.exe -DICON=lurvendel.ico -DOUTPUT=lurvendel-setup.exe
;   lurvendel.nsi
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "MUI2.nsh"

!define NAME "Die Lurvendel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lurvendel"

Name "${NAME}"
OutFile "${OUTPUT}"
InstallDir "$LOCALAPPDATA\Programs\${NAME}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1031 "ProductName" "${NAME}"
VIAddVersionKey /LANG=1031 "FileDescription" "${NAME}, Installation"
VIAddVersionKey /LANG=1031 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1031 "LegalCopyright" "2026 The Lurvendel developers, MIT"

VIAddVersionKey /LANG=1031 "CompanyName" "The Lurvendel developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\lurvendel.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

Var clockRan

; Ends the user's running clock with the given program, as its window's close ends it: with an
; alarm armed it asks, or, installing silently, stays without a question. Where it stays, or the
; program cannot be replaced, the run ends here with status 2, nothing changed.
!macro EndRunningClock program
  StrCpy $clockRan 0
  FindWindow $0 "Lurvendel.Uhr"
  ${If} $0 <> 0
    StrCpy $clockRan 1
    ; Through a pipe: the program's own complaint goes there, never into a box of its own that
    ; a silent run would wait on for ever. A program that could not run leaves "error".
    ${If} ${Silent}
      nsExec::Exec '"${program}" --beenden-ohne-frage'
    ${Else}
      nsExec::Exec '"${program}" --beenden'
    ${EndIf}
    Pop $1
    ${If} $1 != 0
      MessageBox MB_OK|MB_ICONSTOP "Die Lurvendel läuft mit gestelltem Alarm weiter; es wurde nichts geändert." /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}
!macroend

!macro FailUnlessDone what
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "${what}" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
!macroend

Section
  SetShellVarContext current
  InitPluginsDir
  File "/oname=$PLUGINSDIR\lurvendel.exe" "${PROGRAM}"
  !insertmacro EndRunningClock "$PLUGINSDIR\lurvendel.exe"
  SetOutPath "$INSTDIR"
  SetOverwrite try
  ClearErrors
  File "/oname=lurvendel.exe" "${PROGRAM}"
  !insertmacro FailUnlessDone "Die Lurvendel lässt sich nicht ersetzen."
  WriteUninstaller "$INSTDIR\Deinstallieren.exe"
  CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\lurvendel.exe"
  CreateShortcut "$SMPROGRAMS\Uhrzeit sagen.lnk" "$INSTDIR\lurvendel.exe" "--sprich"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Lurvendel developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\lurvendel.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Deinstallieren.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Deinstallieren.exe" /S'
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${If} $clockRan == 1
    Exec '"$INSTDIR\lurvendel.exe"'
  ${EndIf}
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  !insertmacro EndRunningClock "$INSTDIR\lurvendel.exe"
  ClearErrors
  Delete "$INSTDIR\lurvendel.exe"
  !insertmacro FailUnlessDone "Die Lurvendel lässt sich nicht entfernen."
  Delete "$SMPROGRAMS\${NAME}.lnk"
  Delete "$SMPROGRAMS\Uhrzeit sagen.lnk"
  Delete "$INSTDIR\Deinstallieren.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
