' Shows the open dialog twice: first cancelled with CancelError True, then answered with a file.
On Error Resume Next
Set dialog = CreateObject("Relingo.FilOpDlg")
dialog.CancelError = True
dialog.ShowOpen
WScript.Echo "cancel " & Err.Number & " [" & Err.Description & "] " & dialog.CancelSelected
Err.Clear
dialog.ShowOpen
WScript.Echo "chosen " & Err.Number & " " & dialog.FileName & " " & dialog.FileTitle & " " & _
    dialog.CancelSelected
