; The Windows installer of Velora, made by scripts/package-windows.sh:
;   makensis -DVERSION=x.y.z -DSTAGE=<installed folder> -DOUTFILE=<setup.exe> velora.nsi
; It installs what `cmake --install` put in STAGE under Program Files, with a Start-menu entry, an
; uninstaller in Windows' list of programs, and Velora under "Apri con" for .inf files. On Windows
; .inf is the setup-information type, so the installer leaves its default alone.
Unicode true
; Debian's wine64 cannot start NSIS's default 32-bit installer.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define KEY_UNINSTALL "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velora"
!define KEY_APPLICATION "Software\Classes\Applications\velora.exe"
!define PROGID "Velora.Sequenza"

Name "Velora"
Caption "Velora ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Velora"
InstallDirRegKey HKLM "${KEY_UNINSTALL}" "InstallLocation"
!include "${STAGE}.files.nsh"

LoadLanguageFile "${NSISDIR}\Contrib\Language files\Italian.nlf"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section
    SetShellVarContext all
    SetRegView 64
    SetOutPath "$INSTDIR"
    !insertmacro VELORA_INSTALL_FILES
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortCut "$SMPROGRAMS\Velora.lnk" "$INSTDIR\velora.exe"

    WriteRegStr HKLM "${KEY_UNINSTALL}" "DisplayName" "Velora"
    WriteRegStr HKLM "${KEY_UNINSTALL}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${KEY_UNINSTALL}" "Publisher" "Velora"
    WriteRegStr HKLM "${KEY_UNINSTALL}" "DisplayIcon" "$INSTDIR\velora.exe"
    WriteRegStr HKLM "${KEY_UNINSTALL}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${KEY_UNINSTALL}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${KEY_UNINSTALL}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${KEY_UNINSTALL}" "NoModify" 1
    WriteRegDWORD HKLM "${KEY_UNINSTALL}" "NoRepair" 1

    ; "Apri con": the program, with the file types it opens, and a file type of its own offered
    ; for .inf beside the default, which stays Windows' own.
    WriteRegStr HKLM "${KEY_APPLICATION}" "FriendlyAppName" "Velora"
    WriteRegStr HKLM "${KEY_APPLICATION}\SupportedTypes" ".inf" ""
    WriteRegStr HKLM "${KEY_APPLICATION}\shell\open\command" "" '"$INSTDIR\velora.exe" "%1"'
    WriteRegStr HKLM "Software\Classes\${PROGID}" "" "Sequenza di pagine Velora"
    WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\velora.exe,0"
    WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\velora.exe" "%1"'
    WriteRegStr HKLM "Software\Classes\.inf\OpenWithProgids" "${PROGID}" ""
SectionEnd

Section Uninstall
    SetShellVarContext all
    SetRegView 64
    Delete "$SMPROGRAMS\Velora.lnk"
    !insertmacro VELORA_UNINSTALL_FILES
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"

    DeleteRegKey HKLM "${KEY_UNINSTALL}"
    DeleteRegKey HKLM "${KEY_APPLICATION}"
    DeleteRegKey HKLM "Software\Classes\${PROGID}"
    DeleteRegValue HKLM "Software\Classes\.inf\OpenWithProgids" "${PROGID}"
    DeleteRegKey /ifempty HKLM "Software\Classes\.inf\OpenWithProgids"
SectionEnd
