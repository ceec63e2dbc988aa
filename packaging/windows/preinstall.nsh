; SPDX-License-Identifier: MIT
; A running talvik.exe cannot be replaced on Windows, and files replaced
; halfway would leave a broken install: the installer stops before it
; changes anything while the program runs in its folder.
IfFileExists "$INSTDIR\talvik.exe" 0 velmora_not_running
ClearErrors
FileOpen $0 "$INSTDIR\talvik.exe" a
IfErrors 0 velmora_closed
MessageBox MB_OK|MB_ICONSTOP "Velmora is running. Please close it and start the installation again." /SD IDOK
Abort
velmora_closed:
FileClose $0
velmora_not_running:
