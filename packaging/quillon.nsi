; The Windows installer of Quillon, built by makensis from the build tree:
;   makensis -DVERSION=1.0.0 -DOUTFILE=... -DRUNTIME=.../quillon.exe
;            -DCONFIGURATOR=.../QuillonConfig.exe [-DHELPFILE=.../quillon.chm]
;            -DICON=.../quillon.ico quillon.nsi
; /S installs and uninstalls silently (administrators, tests); /STARTUP ticks
; the start-up link; /D=folder (last on the command line) chooses the
; program folder.
;
; Where things go:
;   program folder (Program Files\Quillon): QuillonConfig.exe, quillon.chm,
;     the uninstaller. Only administrators may change it.
;   data folder (common application data\KWP\QuillonConfig): quillon.exe,
;     where the configurator starts it from. The user's maps, sounds and
;     export files live there too and are never touched.

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
!define DATA_SUBFOLDER "KWP\QuillonConfig"
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

  SetOutPath "$INSTDIR"
  File "${CONFIGURATOR}"
!ifdef HELPFILE
  File "${HELPFILE}"
!endif
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The data folder inherits the common data folder's permissions: every
  ; user may add files and change their own, while the installed runtime,
  ; created here by an administrator, stays theirs alone to change.
  CreateDirectory "$DataFolder"
  SetOutPath "$DataFolder"
  File "${RUNTIME}"

  ; Shortcuts are started from the data folder, as the configurator does.
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
; start-up folder of the user who installs: target and icon the runtime in
; the data folder, started there, minimised without activation.
Section /o "Start Quillon when I log on" SectionStartup
  SetShellVarContext current
  SetOutPath "$DataFolder"
  CreateShortCut "$SMSTARTUP\Quillon.lnk" "$DataFolder\Quillon.exe" "" "$DataFolder\Quillon.exe" 0 SW_SHOWMINIMIZED
  ; CreateShortCut knows no SW_SHOWMINNOACTIVE (7); the show command is the
  ; 32-bit field at offset 0x3C of the link's header.
  FileOpen $0 "$SMSTARTUP\Quillon.lnk" a
  ${IfNot} $0 == ""
    FileSeek $0 0x3C SET
    FileWriteByte $0 7
    FileClose $0
  ${EndIf}
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
  Push "$DataFolder\quillon.exe"
  Call un.StopRuntime

  Delete "$DataFolder\quillon.exe"
  ; Only when nothing of the user's is left in them.
  RMDir "$DataFolder"
  RMDir "$APPDATA\KWP"

  Delete "$INSTDIR\QuillonConfig.exe"
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
