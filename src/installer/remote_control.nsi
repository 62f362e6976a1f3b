; The installer of Alder Remote Control, built on Linux by Debian's makensis:
;   makensis -DEXE=<RemoteControl.exe> -DICON=<remote_control.ico> -DOUTFILE=<setup.exe> remote_control.nsi
; The version comes from the exe's own VERSIONINFO unless -DVERSION= is given.
; -DTARGET=amd64-unicode makes the test-only installer of the 64-bit test twin;
; the installer that ships is the 32-bit one.
;
; It installs into Program Files, adds a Start-menu entry, an entry in the
; Add/Remove Programs list and, as an option, a per-machine start-at-login
; entry (HKLM Run). An upgrade keeps the earlier install's start-at-login
; choice. Installer and uninstaller close a running utility first, the way a
; newer copy of it does (WM_CLOSE to its window), and wait for its process to
; end: a running exe can be neither replaced nor removed. The utility's
; settings key is its user's and stays unless the uninstaller is asked to
; remove it (its components page, or /REMOVESETTINGS when silent).
;
; Silent use: setup.exe /S [/D=folder]; Uninstall.exe /S [/REMOVESETTINGS].
; A silent upgrade starts the new exe again when it closed a running one.

!ifdef TARGET
  Target ${TARGET}
!endif
Unicode true
SetCompressor /SOLID lzma
; The installed exe gets the install's time, not the build machine's, so the
; same exe makes the same installer.
SetDateSave off

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh

!ifndef EXE
  !error "define EXE, ICON and OUTFILE (see the first lines of this script)"
!endif
!ifndef ICON
  !error "define EXE, ICON and OUTFILE (see the first lines of this script)"
!endif
!ifndef OUTFILE
  !error "define EXE, ICON and OUTFILE (see the first lines of this script)"
!endif

; VERSION may be given for an exe whose VERSIONINFO is not the one to show.
!ifndef VERSION
  !getdllversion "${EXE}" EXE_VERSION_
  !define VERSION "${EXE_VERSION_1}.${EXE_VERSION_2}.${EXE_VERSION_3}.${EXE_VERSION_4}"
!endif
!define PRODUCT "Alder Remote Control"
!define PUBLISHER "Tarvex Multimedia"
; Class (and title) of the utility's hidden main window.
!define MAIN_WINDOW_CLASS "Alder Remote Control"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\Tarvex Multimedia\Nimbus XQ Utilities"
!define VENDOR_KEY "Software\Tarvex Multimedia"
!define SYNCHRONIZE 0x00100000
!define WAIT_OBJECT_0 0
; How long the utility gets to end after WM_CLOSE. It can be inside a 2 s
; pause of its own, or waiting on the tuner driver.
!define CLOSE_TIMEOUT_MS 15000

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"

Var wasRunning

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\RemoteControl.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; Posts WM_CLOSE to every window of the utility's class and waits for its
; process to end. Only the process's end frees the exe: the window goes
; first. Aborts (after a retry prompt when not silent) if it does not end.
!macro DEFINE_CLOSE_RUNNING_UTILITY un
Function ${un}CloseRunningUtility
  StrCpy $wasRunning 0
  ${Do}
    FindWindow $R0 "${MAIN_WINDOW_CLASS}"
    ${If} $R0 = 0
      ${Break}
    ${EndIf}
    StrCpy $wasRunning 1
    DetailPrint "Closing the running ${PRODUCT}"
    System::Call 'user32::GetWindowThreadProcessId(p R0, *i 0 R1)'
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i R1) p .R2'
    System::Call 'user32::PostMessage(p R0, i ${WM_CLOSE}, p 0, p 0)'
    ${If} $R2 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p R2, i ${CLOSE_TIMEOUT_MS}) i .R3'
      System::Call 'kernel32::CloseHandle(p R2)'
    ${Else}
      ; No handle to wait on: wait for the window instead, then a little more
      ; for the process to finish its exit.
      StrCpy $R3 1
      ${For} $R4 1 150
        System::Call 'user32::IsWindow(p R0) i .R5'
        ${If} $R5 = 0
          StrCpy $R3 ${WAIT_OBJECT_0}
          ${Break}
        ${EndIf}
        Sleep 100
      ${Next}
      Sleep 1000
    ${EndIf}
    ${If} $R3 <> ${WAIT_OBJECT_0}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "${PRODUCT} does not close. Close it from its tray menu (Exit), then choose Retry." \
        /SD IDCANCEL IDRETRY +2
      Abort "${PRODUCT} is still running."
    ${EndIf}
  ${Loop}
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_RUNNING_UTILITY ""
!insertmacro DEFINE_CLOSE_RUNNING_UTILITY "un."

Section "-Program"
  SetShellVarContext all
  Call CloseRunningUtility
  SetOutPath "$INSTDIR"
  ; A silent install ignores a file it cannot write: stop instead of leaving
  ; the earlier exe behind under the new version's name.
  ClearErrors
  File "/oname=RemoteControl.exe" "${EXE}"
  ${If} ${Errors}
    Abort "$INSTDIR\RemoteControl.exe cannot be written."
  ${EndIf}
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\RemoteControl.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\RemoteControl.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start ${PRODUCT} when Windows starts" StartAtLogin
  WriteRegStr HKLM "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\RemoteControl.exe"'
SectionEnd

Section "-Finish"
  ; An upgrade that leaves start-at-login off removes the earlier entry.
  ${IfNot} ${SectionIsSelected} ${StartAtLogin}
    DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
  ; Interactively the finish page offers the start; silently, an upgrade
  ; puts back what it closed.
  ${If} ${Silent}
  ${AndIf} $wasRunning = 1
    Exec '"$INSTDIR\RemoteControl.exe"'
  ${EndIf}
SectionEnd

Function .onInit
  ; Over an earlier install, start-at-login stays as its user left it.
  ClearErrors
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${IfNot} ${Errors}
    ClearErrors
    ReadRegStr $1 HKLM "${RUN_KEY}" "${PRODUCT}"
    ${If} ${Errors}
      !insertmacro UnselectSection ${StartAtLogin}
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "-un.Program"
  SetShellVarContext all
  Call un.CloseRunningUtility
  Delete "$INSTDIR\RemoteControl.exe"
  ${If} ${FileExists} "$INSTDIR\RemoteControl.exe"
    Abort "$INSTDIR\RemoteControl.exe cannot be removed."
  ${EndIf}
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd

Section /o "un.Remove the settings (default TV application)" RemoveSettings
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "${VENDOR_KEY}"
SectionEnd

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${RemoveSettings}
  ${EndIf}
FunctionEnd
