; SPDX-License-Identifier: MIT
; A running program cannot be replaced or removed on Windows, and an install
; or uninstall stopped halfway would leave a broken folder behind: both stop
; before they change anything while talvik.exe or talvik-book.exe runs from
; the folder, whose file cannot be opened for writing then.
!include LogicLib.nsh

!macro REFUSE_IF_RUNNING FILE MESSAGE
  ${If} ${FileExists} "$INSTDIR\${FILE}"
    ClearErrors
    FileOpen $0 "$INSTDIR\${FILE}" a
    ${If} ${Errors}
      MessageBox MB_OK|MB_ICONSTOP "${MESSAGE}" /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
    FileClose $0
  ${EndIf}
!macroend

!macro REFUSE_WHILE_RUNNING ACTION
  !insertmacro REFUSE_IF_RUNNING talvik.exe "Velmora is running. Please close it and start the ${ACTION} again."
  !insertmacro REFUSE_IF_RUNNING talvik-book.exe "Velmora's book tool, talvik-book.exe, is running. Please let it finish and start the ${ACTION} again."
!macroend
