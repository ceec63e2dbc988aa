; SPDX-License-Identifier: MIT
; The user's booked daily start goes first, as on Linux: when it cannot be
; removed, nothing is, so that the program it would start is still there.
; Then the settings that the program kept beside itself or in the user's
; folder.
IfFileExists "$INSTDIR\talvik-book.exe" 0 velmora_unscheduled
nsExec::ExecToLog '"$INSTDIR\talvik-book.exe" unschedule "$INSTDIR\talvik.exe"'
Pop $0
StrCmp $0 "0" velmora_unscheduled
MessageBox MB_OK|MB_ICONSTOP "The daily start of Velmora could not be removed, so nothing was removed. Switch $\"AutoRun daily at$\" off in Velmora's settings and try again." /SD IDOK
Abort
velmora_unscheduled:
Delete "$INSTDIR\orv.dat"
ReadEnvStr $1 APPDATA
StrCmp $1 "" velmora_settings_done
Delete "$1\Velmora\orv.dat"
RMDir "$1\Velmora"
velmora_settings_done:
