; The Skyfold installer: puts the saver for the running Windows (x64 or x86) into the system folder
; where the Screen Saver settings look, can make it the current screen saver, and registers an
; uninstaller in Add/Remove Programs. Built by tools/dist, which defines VERSION, SCR_X64, SCR_X86,
; README, LICENSE, LICENSE_PAGE, ICON, WELCOME_BITMAP and OUTFILE.
;   Silent use: setup.exe /S [/CURRENT]   uninstall.exe /S [/REMOVESETTINGS]
Unicode true
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "x64.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"

!define PRODUCT "Skyfold"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Skyfold"
!define SETTINGS_KEY "Software\Quillmark\Skyfold"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SAVER_FILE "skyfold.scr"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_SEND 3

Name "${PRODUCT}"
Caption "${PRODUCT} screen saver ${VERSION} Setup"
OutFile "${OUTFILE}"
RequestExecutionLevel admin   ; the system folder and the uninstall entry belong to the machine
InstallDir "$PROGRAMFILES\${PRODUCT}"
ShowInstDetails nevershow
ShowUninstDetails nevershow
BrandingText "Quillmark ${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} screen saver setup"
VIAddVersionKey /LANG=1033 "CompanyName" "Quillmark"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (c) 2026 Quillmark, MIT licence"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WELCOME_BITMAP}"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${WELCOME_BITMAP}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Open the Screen Saver settings"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${LICENSE_PAGE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The system folder as the Screen Saver settings see it: the 64-bit one on 64-bit Windows, which
; this 32-bit installer reaches only with file-system redirection turned off.
!macro EnterSystemFolder
  ${If} ${RunningX64}
    ${DisableX64FSRedirection}
  ${EndIf}
!macroend
!macro LeaveSystemFolder
  ${If} ${RunningX64}
    ${EnableX64FSRedirection}
  ${EndIf}
!macroend
!define SAVER_PATH "$WINDIR\System32\${SAVER_FILE}"

; Tells running programs that the screen-saver settings changed.
!macro AnnounceSaverActive active
  System::Call 'user32::SystemParametersInfo(i ${SPI_SETSCREENSAVEACTIVE}, i ${active}, p 0, i ${SPIF_UPDATE_AND_SEND})'
!macroend

Section "${PRODUCT} screen saver" SectionSaver
  SectionIn RO
  !insertmacro EnterSystemFolder
  SetOutPath "$WINDIR\System32"
  ${If} ${RunningX64}
    File "/oname=${SAVER_FILE}" "${SCR_X64}"
  ${Else}
    File "/oname=${SAVER_FILE}" "${SCR_X86}"
  ${EndIf}
  !insertmacro LeaveSystemFolder

  SetOutPath "$INSTDIR"
  File "/oname=README.txt" "${README}"
  File "/oname=LICENSE.txt" "${LICENSE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} screen saver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Quillmark"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "${SAVER_PATH},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  !insertmacro EnterSystemFolder
  ${GetSize} "$WINDIR\System32" "/M=${SAVER_FILE} /S=0K /G=0" $1 $2 $3
  !insertmacro LeaveSystemFolder
  IntOp $0 $0 + $1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0   ; in KB
SectionEnd

Section "Make ${PRODUCT} the current screen saver" SectionCurrent
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "${SAVER_PATH}"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  !insertmacro AnnounceSaverActive 1
SectionEnd

Function .onInit
  ${If} ${RunningX64}
    StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    SetRegView 64
  ${EndIf}
  ; Offered ticked; a silent install changes the user's saver only when asked with /CURRENT.
  ${If} ${Silent}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/CURRENT" $1
    ${If} ${Errors}
      !insertmacro UnselectSection ${SectionCurrent}
    ${EndIf}
  ${EndIf}
FunctionEnd

Function OpenScreenSaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

Section "un.${PRODUCT} screen saver" UnsectionSaver
  SectionIn RO
  !insertmacro EnterSystemFolder
  Delete /REBOOTOK "${SAVER_PATH}"
  !insertmacro LeaveSystemFolder

  ; Windows keeps the current saver by path, long or short: forget it when it is ours.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${GetFileName} $0 $1
  ${If} $1 == "${SAVER_FILE}"
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    !insertmacro AnnounceSaverActive 0
  ${EndIf}

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd

Section /o "un.Your ${PRODUCT} settings (currency, notes, angle)" UnsectionSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Quillmark"
SectionEnd

Function un.onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
  ; Settings stay unless asked for: ticked by hand, or /REMOVESETTINGS when silent.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnsectionSettings}
  ${EndIf}
FunctionEnd
