; The Windows installer: per machine into Program Files\mzprog, a Start-menu entry, an
; uninstaller in Add/Remove Programs, and /S for silent installs. Settings and data are in the
; user's own folders and stay when the program is removed.
; makensis -DVERSION=1.0.0 -DSRCDIR=<the laid-out folder> -DOUTFILE=<setup.exe> mzprog.nsi
; A 64-bit installer for a 64-bit program: it runs where the program runs (and under a
; 64-bit-only Wine), and sees the 64-bit Program Files and registry without redirection.
Target amd64-unicode

Name "mzprog ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\mzprog"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\mzprog"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
    SetShellVarContext all
    SetRegView 64
FunctionEnd

Function un.onInit
    SetShellVarContext all
    SetRegView 64
FunctionEnd

Section "mzprog"
    SetOutPath "$INSTDIR"
    File /r "${SRCDIR}\*.*"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortCut "$SMPROGRAMS\mzprog.lnk" "$INSTDIR\V100\mzprog.exe"
    WriteRegStr HKLM "${UNINSTKEY}" "DisplayName" "mzprog"
    WriteRegStr HKLM "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTKEY}" "Publisher" "The mzprog developers"
    WriteRegStr HKLM "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\V100\mzprog.exe"
    WriteRegStr HKLM "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTKEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTKEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTKEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    Delete "$SMPROGRAMS\mzprog.lnk"
    ; Only our own folders and files: the folder may have been chosen by the user.
    RMDir /r "$INSTDIR\V100"
    RMDir /r "$INSTDIR\language"
    Delete "$INSTDIR\Version.ini"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTKEY}"
SectionEnd
