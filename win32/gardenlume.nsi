; The Windows installer: the saver, config.exe, pak.exe, the packs, our
; licence and the third-party notices in Program Files\Gardenlume, the saver
; again in the system folder (where the screen saver control panel lists
; savers), the registry value that names the installation folder, and an
; uninstaller that takes all of it away.
; Built by tools/build-windows.sh through the "installer" target:
;   makensis -DVERSION=1.0.0 -DBIN=<folder of the programs> -DSRC=<the repository>
;            -DOUTFILE=<setup.exe> gardenlume.nsi
; Silent: gardenlume-setup-<version>.exe /S, and uninstall.exe /S.
Unicode true
; A 64-bit installer: $SYSDIR is the real System32 and the registry writes
; land in the view the 64-bit saver reads.
Target amd64-unicode
SetCompressor /SOLID lzma

!define SETTINGS_KEY "Software\Korvanta\Gardenlume\Settings"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Gardenlume"

Name "Gardenlume ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Gardenlume"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Gardenlume"
  SetOutPath "$INSTDIR"
  File "${BIN}/gardenlume.scr"
  File "${BIN}/config.exe"
  File "${BIN}/pak.exe"
  File "${BIN}/main.pak"
  File "${BIN}/butterfly1.pak"
  File "${BIN}/butterfly2.pak"
  File "${BIN}/butterfly3.pak"
  File "${BIN}/butterfly4.pak"
  File "${BIN}/butterfly5.pak"
  ; Our licence and the notices of the parts of others the programs carry.
  File "${SRC}/LICENSE"
  File "${SRC}/THIRD-PARTY-NOTICES.txt"
  SetOutPath "$SYSDIR"
  File "${BIN}/gardenlume.scr"
  SetOutPath "$INSTDIR"
  ; The saver joins file names straight to this value: it ends with "\".
  WriteRegStr HKLM "${SETTINGS_KEY}" "Path" "$INSTDIR\"
  ; A new install shows the desktop at its own size: config.exe, which finds
  ; the folder through the value above, writes the first cfg there (with the
  ; folder's own rights). Settings already there stay byte for byte.
  IfFileExists "$INSTDIR\cfg" +2 0
  ExecWait '"$INSTDIR\config.exe" --mode desktop'
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Gardenlume screensaver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Korvanta"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR\"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$SYSDIR\gardenlume.scr"
  Delete "$INSTDIR\gardenlume.scr"
  Delete "$INSTDIR\config.exe"
  Delete "$INSTDIR\pak.exe"
  Delete "$INSTDIR\main.pak"
  Delete "$INSTDIR\butterfly1.pak"
  Delete "$INSTDIR\butterfly2.pak"
  Delete "$INSTDIR\butterfly3.pak"
  Delete "$INSTDIR\butterfly4.pak"
  Delete "$INSTDIR\butterfly5.pak"
  Delete "$INSTDIR\LICENSE"
  Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
  ; The settings config.exe wrote, and a temporary file of a killed run.
  Delete "$INSTDIR\cfg"
  Delete "$INSTDIR\cfg.tmp-*"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegValue HKLM "${SETTINGS_KEY}" "Path"
  DeleteRegKey /ifempty HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "Software\Korvanta\Gardenlume"
  DeleteRegKey /ifempty HKLM "Software\Korvanta"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
