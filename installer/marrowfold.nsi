; Marrowfold setup: installs the programs, creates the settings, writes the uninstall entry and
; hands the rest (service, logon start, driver registration) to ulksrv.exe.
;   makensis -DARCH=x86|amd64 -DBIN=<folder of the built programs> -DOUTFILE=<setup.exe> marrowfold.nsi
; Optional: -DSKINS=<folder of *.skin files to ship in Skins\>.

!ifndef ARCH
  !error "define ARCH (x86 or amd64)"
!endif
!ifndef BIN
  !error "define BIN, the folder of the built programs"
!endif
!ifndef OUTFILE
  !error "define OUTFILE"
!endif

!if ${ARCH} == amd64
  Target amd64-unicode
  !define PROGRAMS_FOLDER "$PROGRAMFILES64"
  !define REGVIEW 64
!else
  Target x86-unicode
  ; The 32-bit programs go to the 32-bit Program Files on 64-bit Windows.
  !define PROGRAMS_FOLDER "$PROGRAMFILES"
  !define REGVIEW 32
!endif

!getdllversion "${BIN}\mrf.exe" VER_
!define VERSION "${VER_1}.${VER_2}.${VER_3}.${VER_4}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Umberlock_is1"
!define LOG "$INSTDIR\setup.log"
; ulksrv.exe's failure codes come back as 100 + code.
!define SERVICE_FAILURE_BASE 100
!define WM_COMMAND 0x0111
!define CMD_EXIT 40003

!include "LogicLib.nsh"
!include "FileFunc.nsh"

Name "Marrowfold"
Caption "Marrowfold ${VERSION} Setup"
OutFile "${OUTFILE}"
InstallDir "${PROGRAMS_FOLDER}\Marrowfold"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show
VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "Marrowfold"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Marrowfold Setup"
VIAddVersionKey "CompanyName" "Marrowfold"
VIAddVersionKey "LegalCopyright" "Marrowfold"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Var ServiceCode
Var RemoveSettings

; --- shared steps, as macros so that the installer and the uninstaller each get their own copy ---

; Appends one line to the log in the program folder.
!macro Log TEXT
  Push $9
  FileOpen $9 "${LOG}" a
  ${If} $9 != ""
    FileSeek $9 0 END
    FileWrite $9 "${TEXT}$\r$\n"
    FileClose $9
  ${EndIf}
  Pop $9
  DetailPrint "${TEXT}"
!macroend

; Only administrators may install or remove: the service, the driver registration and the logon
; start are machine-wide.
!macro RequireAdmin
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_ICONSTOP|MB_OK "Marrowfold can only be installed or removed by an administrator." /SD IDOK
    SetErrorLevel 740
    Quit
  ${EndIf}
!macroend

; Asks every Marrowfold window of this desktop to end (its Exit command: no save, enforcement kept).
!macro EndGuiPrograms
  StrCpy $1 0
  ${Do}
    FindWindow $0 "TMainForm" ""
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    SendMessage $0 ${WM_COMMAND} ${CMD_EXIT} 0 /TIMEOUT=3000
    Sleep 200
    IntOp $1 $1 + 1
    ${If} $1 > 20
      ${Break}
    ${EndIf}
  ${Loop}
!macroend

; Stops the service "Marrowfold" when it runs and waits (at most 10 s) until it has stopped.
!macro StopService
  System::Call 'advapi32::OpenSCManagerW(p 0, p 0, i 1) p.r1'
  ${If} $1 P<> 0
    ; SERVICE_STOP | SERVICE_QUERY_STATUS
    System::Call 'advapi32::OpenServiceW(p r1, w "Marrowfold", i 0x24) p.r2'
    ${If} $2 P<> 0
      System::Call '*(i,i,i,i,i,i,i) p.r3'
      System::Call 'advapi32::ControlService(p r2, i 1, p r3) i.r4'
      StrCpy $5 0
      ${Do}
        System::Call 'advapi32::QueryServiceStatus(p r2, p r3) i.r4'
        System::Call '*$3(i,i.r6)'
        ${If} $4 == 0
        ${OrIf} $6 == 1
          ${Break}
        ${EndIf}
        Sleep 100
        IntOp $5 $5 + 1
      ${LoopUntil} $5 >= 100
      System::Free $3
      System::Call 'advapi32::CloseServiceHandle(p r2)'
      ; The process ends right after its last report.
      Sleep 500
    ${EndIf}
    System::Call 'advapi32::CloseServiceHandle(p r1)'
  ${EndIf}
!macroend

; A program file that may still be loaded by a running process (another session's mrf.exe, a
; service that has not quite ended) cannot be overwritten or deleted on Windows, but it can be
; renamed: the old copy goes at the next restart.
!macro MoveAside FILE
  ${If} ${FileExists} "$INSTDIR\${FILE}"
    Delete "$INSTDIR\${FILE}.old"
    ClearErrors
    Delete "$INSTDIR\${FILE}"
    ${If} ${Errors}
      Rename "$INSTDIR\${FILE}" "$INSTDIR\${FILE}.old"
      Delete /REBOOTOK "$INSTDIR\${FILE}.old"
    ${EndIf}
  ${EndIf}
!macroend

!macro MoveAsideAll
  !insertmacro MoveAside "mrf.exe"
  !insertmacro MoveAside "ulksrv.exe"
  !insertmacro MoveAside "quillon.dll"
  !insertmacro MoveAside "vexcore.dll"
  !insertmacro MoveAside "mrfctl.exe"
!macroend

; --- installer ---

Function .onInit
  SetRegView ${REGVIEW}
  !insertmacro RequireAdmin
  ; An existing installation is upgraded in place.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\mrf.exe"
    StrCpy $INSTDIR $0
  ${EndIf}
FunctionEnd

Section "Marrowfold"
  SetRegView ${REGVIEW}
  SetShellVarContext all
  CreateDirectory "$INSTDIR"
  !insertmacro Log "Marrowfold ${VERSION} (${ARCH}) setup into $INSTDIR"

  ; An upgrade: the running programs end before their files are replaced.
  !insertmacro EndGuiPrograms
  !insertmacro StopService
  !insertmacro MoveAsideAll

  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "${BIN}\mrf.exe"
  File "${BIN}\ulksrv.exe"
  File "${BIN}\quillon.dll"
  File "${BIN}\vexcore.dll"
  File "${BIN}\mrfctl.exe"
  !ifdef SKINS
    SetOutPath "$INSTDIR\Skins"
    File /nonfatal "${SKINS}\*.skin"
    SetOutPath "$INSTDIR"
  !endif

  ; The settings file and its journal, kept on upgrade; opened to every user, because every
  ; user's logon run and settings window reads and saves them.
  nsExec::ExecToStack '"$INSTDIR\mrfctl.exe" init "$INSTDIR\mrf.dat"'
  Pop $0
  Pop $1
  ${If} $0 != 0
    !insertmacro Log "the settings file could not be created (mrfctl exit code $0)"
    DetailPrint "$1"
  ${EndIf}

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Marrowfold"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Marrowfold"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\mrf.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR\"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\unins000.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\unins000.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteUninstaller "$INSTDIR\unins000.exe"

  ; The service program registers the driver, the service and the logon start, and points the
  ; uninstall entry at mrf.exe /U; its exit code tells how that went.
  ExecWait '"$INSTDIR\ulksrv.exe"' $ServiceCode
  ${If} $ServiceCode == 0
    !insertmacro Log "ulksrv.exe: the service is installed and running"
    !insertmacro Log "installed"
  ${Else}
    !insertmacro Log "ulksrv.exe failed with exit code $ServiceCode (see the README's service exit codes)"
    MessageBox MB_ICONEXCLAMATION|MB_OK "The Marrowfold service could not be set up (ulksrv.exe exit code $ServiceCode).$\r$\nThe programs are installed; see $INSTDIR\setup.log." /SD IDOK
    IntOp $0 $ServiceCode + ${SERVICE_FAILURE_BASE}
    SetErrorLevel $0
  ${EndIf}
SectionEnd

; --- uninstaller ---

Function un.onInit
  SetRegView ${REGVIEW}
  !insertmacro RequireAdmin
  ; Settings go only when asked: interactively by a question, silently with /REMOVESETTINGS.
  StrCpy $RemoveSettings 0
  ${un.GetParameters} $0
  ClearErrors
  ${un.GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveSettings 1
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetRegView ${REGVIEW}
  SetShellVarContext all
  ${IfNot} ${Silent}
  ${AndIf} $RemoveSettings == 0
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Remove the settings too (folder lists, groups, the administrator password)?" IDNO keep
    StrCpy $RemoveSettings 1
    keep:
  ${EndIf}

  ; Protection off: the engine library is told directly, as the settings window's Stop does.
  ${If} ${FileExists} "$INSTDIR\vexcore.dll"
    System::Call 'kernel32::LoadLibraryW(w "$INSTDIR\vexcore.dll") p.r1'
    ${If} $1 P<> 0
      System::Call 'kernel32::GetProcAddress(p r1, m "SetSecurity") p.r2'
      ${If} $2 P<> 0
        System::Call '::$2(i 0)'
      ${EndIf}
      System::Call 'kernel32::FreeLibrary(p r1)'
    ${EndIf}
  ${EndIf}
  !insertmacro EndGuiPrograms
  ; The service program removes the service, the driver registrations and the logon start.
  ${If} ${FileExists} "$INSTDIR\ulksrv.exe"
    ExecWait '"$INSTDIR\ulksrv.exe" /un' $0
    DetailPrint "ulksrv.exe /un: exit code $0"
  ${EndIf}
  !insertmacro StopService

  !insertmacro MoveAsideAll
  Delete "$INSTDIR\Skins\*.skin"
  RMDir "$INSTDIR\Skins"
  Delete "$INSTDIR\setup.log"
  ; The reference engine's state.
  Delete "$APPDATA\Marrowfold\vexcore.state"
  RMDir "$APPDATA\Marrowfold"
  ${If} $RemoveSettings == 1
    Delete "$INSTDIR\mrf.dat"
    Delete "$INSTDIR\mrf.dat.jnl"
    Delete "$INSTDIR\ulk.ini"
  ${EndIf}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\unins000.exe"
  RMDir "$INSTDIR"
SectionEnd
