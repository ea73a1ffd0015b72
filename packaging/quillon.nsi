; The Windows installer of Quillon, built by makensis from the build tree:
;   makensis -DVERSION=1.0.0 -DOUTFILE=... -DRUNTIME=.../quillon.exe
;            -DCONFIGURATOR=.../QuillonConfig.exe [-DHELPFILE=.../quillon.chm]
;            -DICON=.../quillon.ico quillon.nsi
; /S installs and uninstalls silently (administrators, tests); /STARTUP ticks
; the start-up link; /D=folder (last on the command line) chooses the
; program folder.
;
; Where things go:
;   program folder (Program Files\Quillon): QuillonConfig.exe, quillon.exe
;     (the configurator starts it from beside itself, and every link points
;     there), quillon.chm, the uninstaller. Only administrators may change it.
;   data folder (common application data\KWP\QuillonConfig): the users'
;     maps, sounds and export files, never touched. The installer makes it
;     (and KWP) with permissions of its own; no program file lies there.

; A 64-bit installer for the 64-bit programs: it needs no 32-bit layer, and
; it sees the 64-bit Program Files and registry as they are.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh

!define PRODUCT "Quillon"
!define PUBLISHER "KWP"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillon"
; The configurator's data folder is named after its program name.
!define DATA_PUBLISHER "KWP"
!define DATA_SUBFOLDER "${DATA_PUBLISHER}\QuillonConfig"
!define START_MENU_LINK "Quillon Configurator.lnk"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\QuillonConfig.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Open the Quillon Configurator"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Var DataFolder

; Asks the running runtime of this desktop to close with its own quit letter:
; a second copy started with "Q" closes the first. Waits until its window is
; gone and the process has let go of its file (up to ten seconds).
!macro StopRuntime UN
Function ${UN}StopRuntime
  Pop $1  ; the quillon.exe to start with the letter
  FindWindow $0 "Quillon"
  ${If} $0 == 0
    Return
  ${EndIf}
  ${If} ${FileExists} "$1"
    ExecWait '"$1" Q'
  ${Else}
    SendMessage $0 ${WM_CLOSE} 0 0
  ${EndIf}
  StrCpy $2 0
  ${Do}
    FindWindow $0 "Quillon"
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    Sleep 100
    IntOp $2 $2 + 1
  ${LoopUntil} $2 >= 100
  ; The window goes a moment before the process ends and frees its file.
  Sleep 500
FunctionEnd
!macroend
!insertmacro StopRuntime ""
!insertmacro StopRuntime "un."

; Runs icacls on the folder in $R0 with the arguments in $R1; on a failure
; says so, and the installation ends with status 2 before any file of it is
; in place. (Wine's icacls sets nothing and reports success.)
Function Icacls
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$R0" $R1'
  Pop $0
  ${If} $0 != 0
    MessageBox MB_OK|MB_ICONSTOP "The permissions of $R0 could not be set (icacls $R1: $0). Quillon was not installed." /SD IDOK
    ; Not left behind with the permissions it was made with (when empty).
    RMDir "$R0"
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd

; Makes the folder in $R0, or takes over one that an older configurator made,
; with permissions of its own instead of those the common data folder hands
; down: under those the first user to create the folder owned it, with full
; control, and could delete or replace every other user's files in it.
;   owner: Administrators (the user who made it could otherwise rewrite the
;     list at any time);
;   /reset, then no inherited entries: what that user may have added goes;
;   SYSTEM, Administrators: full control, handed down;
;   Users: read and run, handed down; add files and folders (WD, AD), here
;     and in the folders below;
;   CREATOR OWNER: modify, on what each user adds only: each user changes and
;     deletes their own files, nobody else's;
;   OWNER RIGHTS: on the folder itself no more than every user has (an
;     owner's implicit right to rewrite the list otherwise stays).
; S-1-5-18 SYSTEM, S-1-5-32-544 Administrators, S-1-5-32-545 Users,
; S-1-3-0 CREATOR OWNER, S-1-3-4 OWNER RIGHTS: numbers, not names, which are
; translated on other languages' Windows.
Function SettleSharedFolder
  Pop $R0
  CreateDirectory "$R0"
  ${IfNot} ${FileExists} "$R0\*.*"
    MessageBox MB_OK|MB_ICONSTOP "The folder $R0 could not be created. Quillon was not installed." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  StrCpy $R1 "/setowner *S-1-5-32-544"
  Call Icacls
  StrCpy $R1 "/reset"
  Call Icacls
  StrCpy $R1 "/inheritance:r /grant:r *S-1-5-18:(OI)(CI)F *S-1-5-32-544:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX *S-1-3-0:(OI)(CI)(IO)M *S-1-3-4:(RD,REA,X,RA,RC,S,WD,AD)"
  Call Icacls
  StrCpy $R1 "/grant *S-1-5-32-545:(CI)(WD,AD)"
  Call Icacls
FunctionEnd

; The link that the configurator's "Add to ..." commands write, at the path
; in $R0: target and icon the runtime in the program folder, started there,
; minimised without activation.
Function WriteRuntimeLink
  SetOutPath "$INSTDIR"
  CreateShortCut "$R0" "$INSTDIR\Quillon.exe" "" "$INSTDIR\Quillon.exe" 0 SW_SHOWMINIMIZED
  ; CreateShortCut knows no SW_SHOWMINNOACTIVE (7); the show command is the
  ; 32-bit field at offset 0x3C of the link's header.
  FileOpen $0 "$R0" a
  ${IfNot} $0 == ""
    FileSeek $0 0x3C SET
    FileWriteByte $0 7
    FileClose $0
  ${EndIf}
FunctionEnd

; An older version started the runtime from the data folder, and its links
; (the configurator's on the desktop, in the programs menu and in start-up,
; and this installer's start-up link) point there: once that file is gone,
; any user could put a program of that name there for the link to start.
; The installing user's links of that name are pointed at the program folder.
; Other accounts' links are out of an installer's reach; the data folder's
; quillon.exe they name no longer exists.
Function RewriteOldLinks
  SetShellVarContext current
  ${If} ${FileExists} "$DESKTOP\Quillon.lnk"
    StrCpy $R0 "$DESKTOP\Quillon.lnk"
    Call WriteRuntimeLink
  ${EndIf}
  ${If} ${FileExists} "$SMPROGRAMS\Quillon.lnk"
    StrCpy $R0 "$SMPROGRAMS\Quillon.lnk"
    Call WriteRuntimeLink
  ${EndIf}
  ${If} ${FileExists} "$SMSTARTUP\Quillon.lnk"
    StrCpy $R0 "$SMSTARTUP\Quillon.lnk"
    Call WriteRuntimeLink
  ${EndIf}
  SetShellVarContext all
FunctionEnd

!macro SetDataFolder
  ; All users' folders: the common application data folder and the common
  ; programs menu.
  SetShellVarContext all
  StrCpy $DataFolder "$APPDATA\${DATA_SUBFOLDER}"
!macroend

Function un.onInit
  SetRegView 64
  !insertmacro SetDataFolder
FunctionEnd

Section "Quillon (required)" SectionProgram
  SectionIn RO
  ; An older runtime that still runs holds its file: stop it first, with the
  ; copy that is about to be installed (there may be no older one on disk).
  InitPluginsDir
  SetOutPath "$PLUGINSDIR"
  File "${RUNTIME}"
  Push "$PLUGINSDIR\quillon.exe"
  Call StopRuntime
  Delete "$PLUGINSDIR\quillon.exe"

  ; Both levels of the data folder, before any file is in place.
  Push "$APPDATA\${DATA_PUBLISHER}"
  Call SettleSharedFolder
  Push "$DataFolder"
  Call SettleSharedFolder
  ; The runtime of an older version, stopped above, leaves the data folder.
  Delete "$DataFolder\quillon.exe"
  ${If} ${FileExists} "$DataFolder\quillon.exe"
    MessageBox MB_OK|MB_ICONSTOP "$DataFolder\quillon.exe of an older version could not be removed. Quillon was not installed." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}

  SetOutPath "$INSTDIR"
  File "${CONFIGURATOR}"
  File "${RUNTIME}"
!ifdef HELPFILE
  File "${HELPFILE}"
!endif
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  Call RewriteOldLinks

  SetOutPath "$INSTDIR"
  CreateShortCut "$SMPROGRAMS\${START_MENU_LINK}" "$INSTDIR\QuillonConfig.exe" "" "$INSTDIR\QuillonConfig.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\QuillonConfig.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DataFolder" "$DataFolder"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SectionProgram} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The same link that the configurator's "Add to Startup" writes, in the
; start-up folder of the user who installs.
Section /o "Start Quillon when I log on" SectionStartup
  SetShellVarContext current
  StrCpy $R0 "$SMSTARTUP\Quillon.lnk"
  Call WriteRuntimeLink
  ; The uninstaller removes only a link that it made.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "StartupLink" "$SMSTARTUP\Quillon.lnk"
  SetShellVarContext all
SectionEnd

Function .onInit
  SetRegView 64
  !insertmacro SetDataFolder
  ; /STARTUP ticks the start-up link, also for a silent install.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/STARTUP" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SectionStartup}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "DataFolder"
  ${If} $0 != ""
    StrCpy $DataFolder $0
  ${EndIf}
  Push "$INSTDIR\quillon.exe"
  Call un.StopRuntime

  ; Only when nothing of the user's is left in them; what stays keeps the
  ; permissions the installer gave it.
  RMDir "$DataFolder"
  RMDir "$APPDATA\KWP"

  Delete "$INSTDIR\QuillonConfig.exe"
  Delete "$INSTDIR\quillon.exe"
  Delete "$INSTDIR\quillon.chm"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${START_MENU_LINK}"
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "StartupLink"
  ${If} $0 != ""
    Delete "$0"
  ${EndIf}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  DetailPrint "Kept: your settings, and the maps, sounds and export files in $DataFolder."
  MessageBox MB_OK|MB_ICONINFORMATION "Quillon has been removed. Your settings, and the maps, sounds and export files in $DataFolder, are kept." /SD IDOK
SectionEnd
