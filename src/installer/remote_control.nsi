; The installer of Alder Remote Control, built on Linux by Debian's makensis:
;   makensis -DEXE=<RemoteControl.exe> -DCHECK_EXE=<RemoteCheck.exe> -DICON=<remote_control.ico>
;            -DGUIDE=<folder> -DOUTFILE=<setup.exe>
;            remote_control.nsi
; GUIDE is the user guide rendered to HTML by guide_html.py, with its
; guide_files.nsh. The version comes from the exe's own VERSIONINFO unless
; -DVERSION= is given. -DTARGET=amd64-unicode makes the test-only installer of
; the 64-bit test twin; the installer that ships is the 32-bit one.
;
; It installs into Program Files the utility, Remote Check and the user guide
; (Guide\), adds Start-menu entries for the three, an entry in the Add/Remove Programs list
; and, as an option, a per-machine start-at-login entry (HKLM Run). An
; upgrade keeps the earlier install's start-at-login choice. Installer and
; uninstaller close a running utility first, the way a newer copy of it does
; (WM_CLOSE to its window), and wait for its process to end: a running exe can
; be neither replaced nor removed.
;
; The first Power press works: when no "DefaultTVAPP" is stored yet, or the
; one stored names an application that is not installed (the utility's own
; first start stores Quartzview when it finds none), the installer stores the
; AppId of an installed TV application, found the way the utility's Setting
; dialog finds it (tv_applications.nsh). With several, a page lets the user
; choose; a silent install takes the lowest AppId. With none, nothing is
; written and the utility keeps its own default. A stored choice of an
; installed application, or of a value that names none, is kept.
;
; The utility's two values are its user's and stay unless the uninstaller is
; asked to remove them (its components page, or /REMOVESETTINGS when silent);
; even then the key goes only when nothing else is left in it: the card
; maker's other software may keep its own values there.
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
!include WinVer.nsh
!include WordFunc.nsh
!include nsDialogs.nsh

!ifndef EXE
  !error "define EXE, ICON and OUTFILE (see the first lines of this script)"
!endif
!ifndef CHECK_EXE
  !error "define CHECK_EXE, the stripped RemoteCheck.exe (see the first lines of this script)"
!endif
!ifndef ICON
  !error "define EXE, ICON and OUTFILE (see the first lines of this script)"
!endif
!ifndef OUTFILE
  !error "define EXE, ICON and OUTFILE (see the first lines of this script)"
!endif
!ifndef GUIDE
  !error "define GUIDE, the user guide rendered by guide_html.py (see the first lines of this script)"
!endif
!include "${GUIDE}/guide_files.nsh"
; makensis works in the folder of this script.
!include "tv_applications.nsh"

; The registry view the utility reads, where its settings and the TV
; applications' install values are: the 32-bit one (on 64-bit Windows, the
; WOW6432Node view). The 64-bit test twin reads the 64-bit one.
; Signed when the build was given a certificate (tools/sign-file): the
; uninstaller as it is written, the installer once made.
!ifdef SIGN_COMMAND
  !uninstfinalize '${SIGN_COMMAND} "%1"'
  !finalize '${SIGN_COMMAND} "%1"'
!endif

!define REG_VIEW 32
; The same view for the registry calls made through the System plugin
; (KEY_WOW64_32KEY; KEY_WOW64_64KEY for the twin).
!define REG_VIEW_ACCESS 0x0200
!ifdef TARGET
  !if "${TARGET}" == "amd64-unicode"
    !define /redef REG_VIEW 64
    !define /redef REG_VIEW_ACCESS 0x0100
  !endif
!endif
; Who may do what with the settings key: SYSTEM and the administrators all,
; the local Users group read and set values (KEY_SET_VALUE, 0x2) and nothing
; more; protected, so that nothing inherited widens it. DefaultTVAPP is an
; AppId the utility checks on every read, so no user can make it start an
; arbitrary program.
!define SETTINGS_KEY_SDDL "D:P(A;;KA;;;SY)(A;;KA;;;BA)(A;;KR;;;BU)(A;;0x2;;;BU)"

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
!define DEFAULT_APP_VALUE "DefaultTVAPP"
!define ALWAYS_REMOTE_OFF_VALUE "AlwaysRemoteOff"
; The default as this installer left it. A choice that a user's earlier,
; redirected copy of the utility made (in that user's VirtualStore) is taken
; over by the utility only while the stored default still equals it.
!define INSTALLER_DEFAULT_VALUE "InstallerDefaultTVAPP"
!define VENDOR_KEY "Software\Tarvex Multimedia"
!define GUIDE_SHORTCUT "${PRODUCT} User Guide"
!define CHECK_SHORTCUT "Alder Remote Check"
; Its name before: an upgrade removes that entry.
!define OLD_CHECK_SHORTCUT "Remote Check"
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
; The installed TV applications, in AppId order: their AppIds, each followed
; by a blank, and their names, each followed by "|".
Var tvAppIds
Var tvAppNames
Var tvAppCount
; The AppId to store as DefaultTVAPP; 0: store nothing.
Var defaultTvApp
; The choice page's drop list and the entry chosen on it (from 0).
Var tvAppList
Var tvAppChoice

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
; What the finish page and the upgrade start, they start through the
; utility's /OPENASUSER: the desktop's shell opens it with the signed-in
; user's own rights, not the installer's administrator rights.
!define MUI_FINISHPAGE_RUN ""
!define MUI_FINISHPAGE_RUN_FUNCTION StartUtilityAsUser
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_TEXT "${PRODUCT} runs in the background: it has no window, only an icon in the \
  notification area (on Windows 7 to 11 perhaps among the hidden icons, behind the arrow).$\r$\n$\r$\nTo see \
  which button of your remote sends which code, and what the utility does with it, start Alder Remote Check \
  from the Start menu."
; Unticked: the finish page's job is to start the utility, which a browser
; window opening over it would hide; the guide stays in the Start menu.
!define MUI_FINISHPAGE_SHOWREADME ""
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION OpenGuideAsUser
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Open the user guide"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_DIRECTORY
; The blank caption gives it the caption of the other pages.
Page custom TvAppPageShow TvAppPageLeave " "
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

; -- The TV applications installed, and the default to store ---------------

!macro TV_APP_FOUND APP_ID NAME
  StrCpy $tvAppIds "$tvAppIds${APP_ID} "
  StrCpy $tvAppNames "$tvAppNames${NAME}|"
  IntOp $tvAppCount $tvAppCount + 1
!macroend

; The record reads the value whatever its type: ReadRegStr also gives a
; number's digits, with the error flag set. Data the record's buffer cannot
; hold with its NUL leaves it not installed.
!macro TV_APP_BY_REGISTRY APP_ID NAME KEY VALUE
  ClearErrors
  ReadRegStr $R0 HKLM "${KEY}" "${VALUE}"
  ${IfNot} ${Errors}
  ${OrIf} $R0 != ""
    StrLen $R1 $R0
    ${If} $R1 < ${TV_APP_PATH_MAX}
      !insertmacro TV_APP_FOUND ${APP_ID} "${NAME}"
    ${EndIf}
  ${EndIf}
!macroend

!macro TV_APP_BY_SYSTEM_TEST APP_ID NAME
  Call TvAppSystemTest${APP_ID}
  Pop $R0
  ${If} $R0 = 1
    !insertmacro TV_APP_FOUND ${APP_ID} "${NAME}"
  ${EndIf}
!macroend

; Media Center, as the utility tests for it (media_center_detection.cpp):
; Windows XP or 7 to 8.1, its registration and its shell in the Windows folder. Its
; registry value alone is a command line that the utility cannot start, and
; the Setting dialog does not offer it then. Pushes 1 when found, else 0.
Function TvAppSystemTest4
  StrCpy $R1 0
  StrCpy $R2 0
  ${If} ${IsWinXP}
    StrCpy $R2 1
  ${ElseIf} ${AtLeastWin7}
  ${AndIf} ${AtMostWin8.1}
    StrCpy $R2 1
  ${EndIf}
  ${If} $R2 = 1
    ClearErrors
    ReadRegDWORD $R0 HKLM "System\WPA\MediaCenter" "Installed"
    ${IfNot} ${Errors}
    ${AndIf} $R0 = 1
    ${AndIf} ${FileExists} "$WINDIR\ehome\ehshell.exe"
      StrCpy $R1 1
    ${EndIf}
  ${EndIf}
  Push $R1
FunctionEnd

; Sets $R0 to 1 when the settings value named $R3 is stored, of whatever
; type (the utility reads any four bytes), else 0.
Function IsSettingStored
  StrCpy $R0 0
  StrCpy $R1 0
  ${Do}
    EnumRegValue $R2 HKLM "${SETTINGS_KEY}" $R1
    ${If} $R2 == ""
      ${Break}
    ${EndIf}
    ${If} $R2 == $R3
      StrCpy $R0 1
      ${Break}
    ${EndIf}
    IntOp $R1 $R1 + 1
  ${Loop}
FunctionEnd

Function IsDefaultTvAppStored
  StrCpy $R3 "${DEFAULT_APP_VALUE}"
  Call IsSettingStored
FunctionEnd

; Lets every user set the settings key's values (SETTINGS_KEY_SDDL): with UAC
; on, a standard account's Setting then saves for the whole machine, where
; Windows would otherwise refuse the write or divert it into that user's
; VirtualStore.
Function OpenSettingsToUsers
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptor(t "${SETTINGS_KEY_SDDL}", \
    i 1, *p .R0, p 0) i .R1'
  ${If} $R1 = 0
    Return
  ${EndIf}
  ; WRITE_DAC, in the utility's registry view.
  IntOp $R2 0x40000 | ${REG_VIEW_ACCESS}
  System::Call 'advapi32::RegOpenKeyEx(p 0x80000002, t "${SETTINGS_KEY}", i 0, i R2, *p .R3) i .R4'
  ${If} $R4 = 0
    ; DACL_SECURITY_INFORMATION
    System::Call 'advapi32::RegSetKeySecurity(p R3, i 4, p R0)'
    System::Call 'advapi32::RegCloseKey(p R3)'
  ${EndIf}
  System::Call 'kernel32::LocalFree(p R0)'
FunctionEnd

; Sets $R0 to 1 when the stored DefaultTVAPP is an AppId (1 to 8) whose
; application is not among those found installed, else 0.
Function IsStoredDefaultNotInstalled
  StrCpy $R0 0
  ClearErrors
  ReadRegDWORD $R1 HKLM "${SETTINGS_KEY}" "${DEFAULT_APP_VALUE}"
  ${If} ${Errors}
  ${OrIf} $R1 < 1
  ${OrIf} $R1 > 8
    Return
  ${EndIf}
  StrCpy $R0 1
  ${For} $R2 1 $tvAppCount
    ${WordFind} "$tvAppIds" " " "+$R2" $R3
    ${If} $R3 = $R1
      StrCpy $R0 0
    ${EndIf}
  ${Next}
FunctionEnd

; Finds the installed TV applications and, with no choice stored yet or one
; of an application that is not installed, proposes the lowest AppId: a
; silent install stores it, the page starts on it.
Function ChooseDefaultTvApp
  StrCpy $tvAppIds ""
  StrCpy $tvAppNames ""
  StrCpy $tvAppCount 0
  StrCpy $tvAppChoice 0
  StrCpy $defaultTvApp 0
  !insertmacro TV_APPLICATIONS
  Call IsDefaultTvAppStored
  ${If} $R0 = 1
    Call IsStoredDefaultNotInstalled
    ${If} $R0 = 0
      StrCpy $tvAppCount 0
      Return
    ${EndIf}
  ${EndIf}
  ${If} $tvAppCount > 0
    ${WordFind} "$tvAppIds" " " "+1" $defaultTvApp
  ${EndIf}
FunctionEnd

; Shown only when several applications could be the default.
Function TvAppPageShow
  ${If} $tvAppCount < 2
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "Default TV Application" "Choose the TV application the Power key starts."
  nsDialogs::Create 1018
  Pop $R0
  ${NSD_CreateLabel} 0 0 100% 40u "Several TV applications are installed. The Power key of the remote \
    starts the one chosen here; you can change it later with Setting, in the menu of the utility's tray icon."
  Pop $R0
  ${NSD_CreateDropList} 0 48u 60% 100u ""
  Pop $tvAppList
  ${For} $R1 1 $tvAppCount
    ${WordFind} "$tvAppNames" "|" "+$R1" $R2
    ${NSD_CB_AddString} $tvAppList $R2
  ${Next}
  SendMessage $tvAppList ${CB_SETCURSEL} $tvAppChoice 0
  nsDialogs::Show
FunctionEnd

Function TvAppPageLeave
  SendMessage $tvAppList ${CB_GETCURSEL} 0 0 $tvAppChoice
  IntOp $R0 $tvAppChoice + 1
  ${WordFind} "$tvAppIds" " " "+$R0" $defaultTvApp
FunctionEnd

Section "-Program"
  SetShellVarContext all
  Call CloseRunningUtility
  SetOutPath "$INSTDIR"
  ; A silent install ignores a file it cannot write: stop instead of leaving
  ; the earlier exe behind under the new version's name.
  ClearErrors
  File "/oname=RemoteControl.exe" "${EXE}"
  ${If} ${Errors}
    Abort "$INSTDIR\RemoteControl.exe cannot be written: Alder Remote Control may still run for another user \
      signed in to this PC, which this installer cannot close. Ask that user to choose Exit in its tray menu, \
      or sign them out, then run the installer again."
  ${EndIf}
  File "/oname=RemoteCheck.exe" "${CHECK_EXE}"
  !insertmacro GUIDE_INSTALL_FILES
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\RemoteControl.exe"
  CreateShortcut "$SMPROGRAMS\${GUIDE_SHORTCUT}.lnk" "$INSTDIR\Guide\user-guide.html"
  Delete "$SMPROGRAMS\${OLD_CHECK_SHORTCUT}.lnk"
  CreateShortcut "$SMPROGRAMS\${CHECK_SHORTCUT}.lnk" "$INSTDIR\RemoteCheck.exe"

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

Section "Start ${PRODUCT} for everyone who signs in" StartAtLogin
  WriteRegStr HKLM "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\RemoteControl.exe"'
SectionEnd

Section "-Settings"
  ${If} $defaultTvApp <> 0
    WriteRegDWORD HKLM "${SETTINGS_KEY}" "${DEFAULT_APP_VALUE}" $defaultTvApp
  ${EndIf}
  ClearErrors
  ReadRegDWORD $R0 HKLM "${SETTINGS_KEY}" "${DEFAULT_APP_VALUE}"
  ${If} ${Errors}
    DeleteRegValue HKLM "${SETTINGS_KEY}" "${INSTALLER_DEFAULT_VALUE}"
  ${Else}
    WriteRegDWORD HKLM "${SETTINGS_KEY}" "${INSTALLER_DEFAULT_VALUE}" $R0
  ${EndIf}
  ; The key and the switch exist from the start, as the utility's first
  ; start would make them; a stored switch is kept.
  StrCpy $R3 "${ALWAYS_REMOTE_OFF_VALUE}"
  Call IsSettingStored
  ${If} $R0 = 0
    WriteRegDWORD HKLM "${SETTINGS_KEY}" "${ALWAYS_REMOTE_OFF_VALUE}" 0
  ${EndIf}
  Call OpenSettingsToUsers
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
    Call StartUtilityAsUser
  ${EndIf}
SectionEnd

Function StartUtilityAsUser
  Exec '"$INSTDIR\RemoteControl.exe" /OPENASUSER "$INSTDIR\RemoteControl.exe"'
FunctionEnd

Function OpenGuideAsUser
  Exec '"$INSTDIR\RemoteControl.exe" /OPENASUSER "$INSTDIR\Guide\user-guide.html"'
FunctionEnd

Function .onInit
  SetRegView ${REG_VIEW}
  Call ChooseDefaultTvApp
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
    Abort "$INSTDIR\RemoteControl.exe cannot be removed: Alder Remote Control may still run for another user \
      signed in to this PC, which this uninstaller cannot close. Ask that user to choose Exit in its tray menu, \
      or sign them out, then uninstall again."
  ${EndIf}
  Delete "$INSTDIR\RemoteCheck.exe"
  !insertmacro GUIDE_REMOVE_FILES
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${GUIDE_SHORTCUT}.lnk"
  Delete "$SMPROGRAMS\${CHECK_SHORTCUT}.lnk"
  Delete "$SMPROGRAMS\${OLD_CHECK_SHORTCUT}.lnk"
  DeleteRegValue HKLM "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd

Section /o "un.Remove the settings (default TV application)" RemoveSettings
  DeleteRegValue HKLM "${SETTINGS_KEY}" "${DEFAULT_APP_VALUE}"
  DeleteRegValue HKLM "${SETTINGS_KEY}" "${ALWAYS_REMOTE_OFF_VALUE}"
  DeleteRegValue HKLM "${SETTINGS_KEY}" "${INSTALLER_DEFAULT_VALUE}"
  DeleteRegKey /ifempty HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "${VENDOR_KEY}"
SectionEnd

Function un.onInit
  SetRegView ${REG_VIEW}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${RemoveSettings}
  ${EndIf}
FunctionEnd
