' Prints Err.Number and Err.Description for each refused call.
On Error Resume Next
Set box = CreateObject("Relingo.FileNameBox")
Set dialog = CreateObject("Relingo.FilOpDlg")

Sub Report(what)
    WScript.Echo what & " " & Err.Number & " " & Err.Description
    Err.Clear
End Sub

box.IMEMode = 70000 : Report "IMEMode=70000"
box.DefaultValue = "C:\x" : Report "DefaultValue at run time"
box.MaxLength = "twelve" : Report "MaxLength=twelve"
box.mode = "2" : Report "mode=""2"""
WScript.Echo "mode now " & box.mode
box.Enabled = "not a Boolean" : Report "Enabled=text"
Set box.Font = dialog : Report "Font=a FilOpDlg"
dialog.Flags = 1E+20 : Report "Flags=1E+20"
dialog.MaxFileSize = 260
dialog.FileName = String(600, "x")
dialog.ShowOpen : Report "ShowOpen with a name longer than the buffer"
WScript.Echo "IMEMode still " & box.IMEMode
