; SPDX-License-Identifier: MIT
; The user's booked daily start goes first, as on Linux, and only the book
; tool can remove it: without the tool, or when the removal fails, nothing is
; removed, so that no task is left to start a program that is gone. The tool
; ends with 1 only when nothing is booked for a program that is not there.
; Then the settings that the program kept beside itself or in the user's
; folder.
${IfNot} ${FileExists} "$INSTDIR\talvik-book.exe"
  MessageBox MB_OK|MB_ICONSTOP "talvik-book.exe is missing from $INSTDIR, so the daily start of Velmora cannot be removed, and nothing was removed. Install Velmora again, then uninstall it." /SD IDOK
  SetErrorLevel 2
  Quit
${EndIf}
nsExec::ExecToLog '"$INSTDIR\talvik-book.exe" unschedule "$INSTDIR\talvik.exe"'
Pop $0
${If} $0 != "0"
${AndIf} $0 != "1"
  MessageBox MB_OK|MB_ICONSTOP "The daily start of Velmora could not be removed, so nothing was removed. Switch $\"AutoRun daily at$\" off in Velmora's settings and try again." /SD IDOK
  SetErrorLevel 2
  Quit
${EndIf}
Delete "$INSTDIR\orv.dat"
ReadEnvStr $1 APPDATA
${If} $1 != ""
  Delete "$1\Velmora\orv.dat"
  RMDir "$1\Velmora"
${EndIf}
