' Shows the dialogs four times: the open dialog cancelled with CancelError True, then answered
' with a file; GetFileName cancelled with CancelError False; the save dialog answered.
On Error Resume Next
Set dialog = CreateObject("Relingo.FilOpDlg")
dialog.CancelError = True
dialog.ShowOpen
WScript.Echo "cancel " & Err.Number & " [" & Err.Description & "] " & dialog.CancelSelected
Err.Clear
dialog.ShowOpen
WScript.Echo "chosen " & Err.Number & " " & dialog.FileName & " " & dialog.FileTitle & " " & _
    dialog.CancelSelected
dialog.CancelError = False
name = dialog.GetFileName
WScript.Echo "GetFileName " & Err.Number & " [" & name & "] " & dialog.CancelSelected & " " & _
    dialog.FileTitle
dialog.Flags = 0
dialog.ShowSave
WScript.Echo "saved " & Err.Number & " " & dialog.FileName & " " & dialog.FileTitle
