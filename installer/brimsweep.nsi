; Setup for Tarn Brimsweep Pro: copies the shipped programs and the help page
; into Program Files, lets the program make its own links and uninstall entry
; (brimsweep.exe -shortcut) and adds the entry's fields that Settings > Apps
; shows. The program's uninstall.exe is the uninstaller.
;
; CMake runs makensis with:
;   VERSION      the program's version (1.2.3)
;   BUILD_DIR    the folder holding the programs and brimsweep.html
;   SOURCE_DIR   the source tree (for the icon)
;   OUTFILE      the setup file to write
;   PUBLISHER    and URL_INFO_ABOUT: the uninstall entry's publisher and address
;
; Silent: setup.exe /S [/D=C:\Folder]  (/D last on the line, unquoted).
; Exit status 0 when installed, non-zero otherwise.

; A 64-bit Unicode setup for a 64-bit program: it also runs where no 32-bit
; layer is installed (Wine without wine32, Windows Server Core without WOW64).
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include LogicLib.nsh
!include x64.nsh

!define PRODUCT "Tarn Brimsweep Pro"
; The key brimsweep.exe -shortcut writes (HKLM, 64-bit view).
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\BrimsweepPro"
; The program's window class and its Exit command (TForm1::IdExit1), as
; uninstall.exe uses them to ask a running copy to end.
!define WINDOW_CLASS "TBrimsweepForm1"
!define ID_EXIT 109
!define WM_COMMAND 0x0111
; Taken by a running copy; while setup holds it, a started copy runs its
; start-up (the -shortcut steps too) and ends.
!define INSTANCE_MUTEX "brimsweep"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
Icon "${SOURCE_DIR}/app/res/brimsweep.ico"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

Page directory
Page instfiles

Var Size

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} needs a 64-bit Windows." /SD IDOK
    SetErrorLevel 1
    Quit
  ${EndIf}
  SetRegView 64
  ; Without /D an upgrade goes where the installed copy is, so that one
  ; folder and one entry remain.
  ${If} $INSTDIR == "$PROGRAMFILES64\${PRODUCT}"
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
    ${AndIf} ${FileExists} "$0\brimsweep.exe"
      StrCpy $INSTDIR $0
    ${EndIf}
  ${EndIf}
FunctionEnd

; Fails the setup with a message (shown only when not silent).
!macro Fail text
  MessageBox MB_OK|MB_ICONSTOP "${text}" /SD IDOK
  SetErrorLevel 1
  Abort
!macroend

; Asks a running copy to end through its own Exit command and waits for its
; process to go (it is never killed): its files can then be replaced.
Function EndRunningProgram
  FindWindow $0 "${WINDOW_CLASS}"
  ${If} $0 == 0
    Return
  ${EndIf}
  DetailPrint "Asking the running ${PRODUCT} to exit"
  System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
  System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2'
  System::Call 'user32::PostMessageW(p r0, i ${WM_COMMAND}, p ${ID_EXIT}, p 0)'
  ${If} $2 != 0
    System::Call 'kernel32::WaitForSingleObject(p r2, i 30000) i .r3'
    System::Call 'kernel32::CloseHandle(p r2)'
  ${Else}
    StrCpy $3 1
  ${EndIf}
  ${If} $3 != 0
    !insertmacro Fail "${PRODUCT} is still running. Exit it and run setup again."
  ${EndIf}
FunctionEnd

; Adds the size of the file $R0 to $Size (bytes).
Function AddFileSize
  ClearErrors
  FileOpen $R1 "$R0" r
  ${IfNot} ${Errors}
    FileSeek $R1 0 END $R2
    FileClose $R1
    IntOp $Size $Size + $R2
  ${EndIf}
FunctionEnd

!macro AddSize file
  StrCpy $R0 "$INSTDIR\${file}"
  Call AddFileSize
!macroend

Section "Install"
  SetRegView 64
  Call EndRunningProgram

  ; Only the shipped files: settings (language.txt, keep.txt, cleaners.ini,
  ; brimsweep.ini) and backups (tb*.bck, regbackup*.reg) in the folder stay
  ; as they are.
  SetOutPath "$INSTDIR"
  SetOverwrite on
  ClearErrors
  File "${BUILD_DIR}/brimsweep.exe"
  File "${BUILD_DIR}/brimclean.exe"
  File "${BUILD_DIR}/bck.exe"
  File "${BUILD_DIR}/deletebat.exe"
  File "${BUILD_DIR}/uninstall.exe"
  File "${BUILD_DIR}/brimsweep.html"
  ${If} ${Errors}
    !insertmacro Fail "Setup could not write the program files into $INSTDIR."
  ${EndIf}

  ; The program makes its links and its uninstall entry itself. With the
  ; instance lock held here it ends after its start-up instead of staying
  ; in the notification area with setup's rights.
  DetailPrint "Making the links and the uninstall entry"
  System::Call 'kernel32::CreateMutexW(p 0, i 0, w "${INSTANCE_MUTEX}") p .r9'
  ClearErrors
  ExecWait '"$INSTDIR\brimsweep.exe" -shortcut' $0
  System::Call 'kernel32::CloseHandle(p r9)'
  ${If} ${Errors}
  ${OrIf} $0 != 0
    !insertmacro Fail "$INSTDIR\brimsweep.exe -shortcut did not run."
  ${EndIf}
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "UninstallString"
  ${If} $0 == ""
    !insertmacro Fail "${PRODUCT} could not register its uninstall entry."
  ${EndIf}

  StrCpy $Size 0
  !insertmacro AddSize "brimsweep.exe"
  !insertmacro AddSize "brimclean.exe"
  !insertmacro AddSize "bck.exe"
  !insertmacro AddSize "deletebat.exe"
  !insertmacro AddSize "uninstall.exe"
  !insertmacro AddSize "brimsweep.html"
  IntOp $Size $Size + 1023
  IntOp $Size $Size / 1024

  ClearErrors
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\brimsweep.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $Size
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${URL_INFO_ABOUT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  ; uninstall.exe only removes; there is nothing to change or repair.
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${If} ${Errors}
    !insertmacro Fail "Setup could not complete the uninstall entry."
  ${EndIf}
SectionEnd
