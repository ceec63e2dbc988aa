; SPDX-License-Identifier: MIT
; The sample book goes into the folder only where no book is there or the one
; there is still a sample an installer put there: the one recorded at its
; install (its size and CRC-32, under "Sample book"), or this installer's
; own. Any other book is the user's and is kept, as on Linux.
!include LogicLib.nsh

; Replaces the path on the stack with "SIZE CRC32" of that file, or with ""
; when it cannot be read.
Function BookFingerprint
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  ClearErrors
  FileOpen $1 $0 r
  StrCpy $0 ""
  ${IfNot} ${Errors}
    System::Call 'kernel32::GetFileSize(p r1, p 0) i .r2'
    System::Alloc $2
    Pop $3
    System::Call 'kernel32::ReadFile(p r1, p r3, i r2, *i .r4, p 0) i .r5'
    ${If} $4 == $2
      System::Call 'ntdll::RtlComputeCrc32(i 0, p r3, i r2) i .r4'
      StrCpy $0 "$2 $4"
    ${EndIf}
    System::Free $3
    FileClose $1
  ${EndIf}
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

Function InstallSampleBook
  InitPluginsDir
  SetOutPath "$PLUGINSDIR"
  File "${INST_DIR}\maravelle.pdb"
  SetOutPath "$INSTDIR"
  Push "$PLUGINSDIR\maravelle.pdb"
  Call BookFingerprint
  Pop $R0
  ReadRegStr $R1 SHCTX "${INSTALL_KEY}" "Sample book"
  StrCpy $R2 ""
  ${If} ${FileExists} "$INSTDIR\maravelle.pdb"
    Push "$INSTDIR\maravelle.pdb"
    Call BookFingerprint
    Pop $R2
    ${IfThen} $R2 == "" ${|} StrCpy $R2 unreadable ${|}
    ${If} $R2 != $R1
    ${AndIf} $R2 != $R0
      DetailPrint "Kept the book already in $INSTDIR"
      Return
    ${EndIf}
  ${EndIf}
  CopyFiles /SILENT "$PLUGINSDIR\maravelle.pdb" "$INSTDIR"
  WriteRegStr SHCTX "${INSTALL_KEY}" "Sample book" $R0
FunctionEnd
