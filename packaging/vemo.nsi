; The installer of the calculator: a per-user installation without administrator rights.
; Made by scripts/package.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DBUILD_DIR=build-win -DOUTFILE=... vemo.nsi
; Installs vemo.exe, vemo.chm and the uninstaller into %LOCALAPPDATA%\Programs\Vemo, a
; shortcut into the user's Start menu, and registers the uninstaller under the per-user
; uninstall key. /S installs (and, given to uninstall.exe, removes) silently.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
; No copyright line in the version information.
!pragma warning disable 9100

!include "MUI2.nsh"

!define PRODUCT "Вемомер"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vemo"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Vemo"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1049 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1049 "FileDescription" "Установка программы ${PRODUCT}"
VIAddVersionKey /LANG=1049 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "ProductVersion" "${VERSION}"

!define MUI_ICON "${SOURCE_DIR}/shell/resources/vemo.ico"
!define MUI_UNICON "${SOURCE_DIR}/shell/resources/vemo.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\vemo.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

Section
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${BUILD_DIR}/vemo.exe"
  File "${BUILD_DIR}/vemo.chm"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "${SHORTCUT}" "$INSTDIR\vemo.exe" "" "$INSTDIR\vemo.exe" 0
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vemo.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "${SHORTCUT}"
  Delete "$INSTDIR\vemo.exe"
  Delete "$INSTDIR\vemo.chm"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
