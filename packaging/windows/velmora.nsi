; The Windows installer of Velmora: the programs, the Qt and MinGW libraries they load, the
; place tables, the form template and the manual into Program Files\Velmora, a Start-menu entry
; and an uninstaller that removes what was installed and leaves the user's data alone.
;
;   makensis -DVERSION=1.0.0 -DSTAGE=<installed tree> -DOUTFILE=<setup.exe> velmora.nsi
;
; STAGE holds the tree as `cmake --install` lays it out plus the libraries: bin\ (programs,
; DLLs, Qt plugins), lib\velmora\ (the form filler), share\velmora\ (ref\ and docs\),
; translations\ (Qt's Italian texts) and velmora.ico.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"

Name "Velmora ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Velmora"
InstallDirRegKey HKLM "Software\Velmora" "InstallDir"
BrandingText "Velmora ${VERSION}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora"
!define MUI_ICON "${STAGE}/velmora.ico"
!define MUI_UNICON "${STAGE}/velmora.ico"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

Section "Velmora"
    SetRegView 64
    SetOutPath "$INSTDIR"
    File /r "${STAGE}/bin"
    File /r "${STAGE}/lib"
    File /r "${STAGE}/share"
    File /r "${STAGE}/translations"
    File "${STAGE}/velmora.ico"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    SetShellVarContext all
    CreateShortcut "$SMPROGRAMS\Velmora.lnk" "$INSTDIR\bin\velmora.exe" "" "$INSTDIR\velmora.ico"

    WriteRegStr HKLM "Software\Velmora" "InstallDir" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Velmora"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velmora.ico"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there: the working folder of each user (%APPDATA%\Velmora, with
; config.ini and the request in progress) stays.
Section "Uninstall"
    SetRegView 64
    SetShellVarContext all
    Delete "$SMPROGRAMS\Velmora.lnk"
    RMDir /r "$INSTDIR\bin"
    RMDir /r "$INSTDIR\lib"
    RMDir /r "$INSTDIR\share"
    RMDir /r "$INSTDIR\translations"
    Delete "$INSTDIR\velmora.ico"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "Software\Velmora"
SectionEnd
