; The Windows installer: puts the build that fits the system (the 64-bit file on 64-bit Windows,
; the 32-bit one elsewhere) into the system folder as FlyingQuorlin.scr, makes it the current
; user's screen saver (turning savers on where the user had them off, as choosing one in the
; settings does; where a group policy decides instead, it says so) and lists it among the
; installed programs. Its uninstaller undoes each
; step and leaves the user's Speed and Count alone. scripts/make-installer.sh builds it with
; Debian's makensis and gives the defines: VERSION, SCR32, SCR64, ICON, OUTFILE and TARGET
; (x86-unicode for the release, which runs on both kinds of Windows; amd64-unicode where only
; 64-bit Wine can try it); STAMP and SIGN, commands that give the file they are given the
; release's time and sign it, in place.
Unicode true
Target ${TARGET}
!ifdef STAMP & SIGN
  ; The uninstaller is done before it is packed, the installer once it is written.
  !uninstfinalize '${STAMP} "%1" && ${SIGN} "%1"' = 0
  !finalize '${STAMP} "%1" && ${SIGN} "%1"' = 0
!endif
!include LogicLib.nsh
!include WinVer.nsh
!include x64.nsh
!include FileFunc.nsh

!define PRODUCT "Flying Quorlin Screen Saver"
!define PUBLISHER "Quorlin Works"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\FlyingQuorlin"
!define DESKTOP_KEY "Control Panel\Desktop"
; A group policy's values here override the user's own under DESKTOP_KEY.
!define POLICY_KEY "Software\Policies\Microsoft\Windows\Control Panel\Desktop"
!define POLICY_NOTE "Your organisation's policy decides the screen saver on this machine."
!define SAVER "$SYSDIR\FlyingQuorlin.scr"
; Exit codes of a refusal, for silent runs: the Win32 error codes that mean the same.
!define ERROR_ELEVATION_REQUIRED 740
!define ERROR_OLD_WIN_VERSION 1150

Name "${PRODUCT}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show
InstallDir "$PROGRAMFILES\Flying Quorlin"
VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "${PRODUCT}"
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey FileDescription "${PRODUCT} installer"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey LegalCopyright "Copyright (c) 2026 ${PUBLISHER}"

; The last page's status line: "Completed", and the policy's note where one decides.
Var Completed
CompletedText "$Completed"
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Refuses before anything changes; silent runs (/S) skip the box and end with the code.
!macro RefuseOrPrepare un
Function ${un}.onInit
  ${IfNot} ${AtLeastWinVista}
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} needs Windows Vista or later. Nothing was changed." /SD IDOK
    SetErrorLevel ${ERROR_OLD_WIN_VERSION}
    Quit
  ${EndIf}
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} is installed into the Windows system folder, which needs administrator rights. Run this program again as an administrator. Nothing was changed." /SD IDOK
    SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
    Quit
  ${EndIf}
  ; The entry goes to the system's own registry view, where its list of programs looks first.
  ${If} ${RunningX64}
    SetRegView 64
    StrCpy $INSTDIR "$PROGRAMFILES64\Flying Quorlin"
  ${EndIf}
FunctionEnd
!macroend
!insertmacro RefuseOrPrepare ""
!insertmacro RefuseOrPrepare "un"

Section
  ; A 32-bit installer on 64-bit Windows sees SysWOW64 as $SYSDIR unless told otherwise; the
  ; 64-bit file belongs in the real System32, where the 64-bit settings look.
  SetOutPath "$SYSDIR"
  ${If} ${RunningX64}
    ${DisableX64FSRedirection}
    File "/oname=FlyingQuorlin.scr" "${SCR64}"
  ${Else}
    File "/oname=FlyingQuorlin.scr" "${SCR32}"
  ${EndIf}
  ${GetSize} "$SYSDIR" "/M=FlyingQuorlin.scr /S=0K /G=0" $2 $3 $4
  ${EnableX64FSRedirection}

  ; The saver chosen before, unless it is this one already (installed again over itself).
  ClearErrors
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} ${Errors}
    DeleteRegValue HKLM "${UNINSTALL_KEY}" "PreviousScreenSaver"
  ${ElseIf} $0 != "${SAVER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "PreviousScreenSaver" "$0"
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "${SAVER}"
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
  ${If} $0 == "0"
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  ${EndIf}
  ; Another saver, savers off, or a fixed timeout: the user's choice does not decide.
  StrCpy $Completed "Completed"
  ReadRegStr $0 HKCU "${POLICY_KEY}" "SCRNSAVE.EXE"
  ReadRegStr $1 HKCU "${POLICY_KEY}" "ScreenSaveActive"
  ReadRegStr $3 HKCU "${POLICY_KEY}" "ScreenSaveTimeOut"
  ; LogicLib reads the conditions in order: (another saver) or off or a timeout.
  ${If} $0 != ""
  ${AndIf} $0 != "${SAVER}"
  ${OrIf} $1 == "0"
  ${OrIf} $3 != ""
    StrCpy $Completed "${POLICY_NOTE}"
    DetailPrint "${POLICY_NOTE}"
  ${EndIf}

  SetOutPath "$INSTDIR"
  ; Debian's makensis has no log of its own: a silent run leaves the note in the installer's.
  Delete "$INSTDIR\install.log"
  ${If} $Completed == "${POLICY_NOTE}"
    FileOpen $4 "$INSTDIR\install.log" w
    FileWrite $4 "${POLICY_NOTE}$\r$\n"
    FileClose $4
  ${EndIf}
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ${GetSize} "$INSTDIR" "/S=0K /G=0" $5 $3 $4
  IntOp $2 $2 + $5
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "${SAVER},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section Uninstall
  ; The saver chosen before comes back only if the user still has this one.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == "${SAVER}"
    ClearErrors
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "PreviousScreenSaver"
    ${If} ${Errors}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${Else}
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$1"
    ${EndIf}
  ${EndIf}
  ${DisableX64FSRedirection}
  ; A saver running right now goes at the next restart.
  Delete /REBOOTOK "${SAVER}"
  ${EnableX64FSRedirection}
  Delete "$INSTDIR\uninstall.exe"
  Delete "$INSTDIR\install.log"
  RMDir "$INSTDIR"
  ; Last, so that the entry's absence means the uninstaller is done.
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
