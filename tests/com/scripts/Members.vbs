' Works every method and settable property of both controls and prints what each left.
Set box = CreateObject("Relingo.FileNameBox")
box.Text = "C:\first"
box.Store
box.Value = "C:\second"
WScript.Echo "Value=" & box.Value & " Text=" & box.Text
box.Restore
WScript.Echo "Restore=" & box.Text
box.RestoreDefault
WScript.Echo "RestoreDefault=[" & box.Text & "]"
box.Text = "C:\abcdef"
box.SelStart = 3
box.SelLength = 2
WScript.Echo "Sel=" & box.SelStart & "," & box.SelLength & "," & box.SelText
box.SelText = "XY"
WScript.Echo "SelText=" & box.Text
box.Cls
WScript.Echo "Cls=[" & box.Text & "]"
box.Refresh
box.KeyName = "Key"
box.SectionName = "Section"
box.MaxLength = 12
box.IMEMode = 3
box.Enabled = False
box.ValidateAtLostFocus = False
box.MessageShow = False
box.mode = 3
box.BackColor = &HFF&
box.ForeColor = &H80000012
WScript.Echo box.KeyName & "|" & box.SectionName & "|" & box.MaxLength & "|" & box.IMEMode & _
    "|" & box.Enabled & "|" & box.ValidateAtLostFocus & "|" & box.MessageShow & "|" & _
    box.mode & "|" & Hex(box.BackColor) & "|" & Hex(box.ForeColor)
Set font = box.Font
font.Size = 12
Set box.Font = font
WScript.Echo "Font size=" & box.Font.Size & " same object=" & (box.Font Is font)

Set dialog = CreateObject("Relingo.FilOpDlg")
dialog.CancelError = True
dialog.CancelSelected = True
dialog.DefaultExt = "txt"
dialog.DialogTitle = "Pick"
dialog.FileName = "C:\a.txt"
dialog.Filter = "Text (*.txt)|*.txt"
dialog.FilterIndex = 2
dialog.Flags = &H1004&
dialog.hParentwnd = 1234
dialog.InitDir = "C:\"
dialog.MaxFileSize = 100
WScript.Echo dialog.CancelError & "|" & dialog.CancelSelected & "|" & dialog.DefaultExt & "|" & _
    dialog.DialogTitle & "|" & dialog.FileName & "|" & dialog.Filter & "|" & _
    dialog.FilterIndex & "|" & Hex(dialog.Flags) & "|" & dialog.hParentwnd & "|" & _
    dialog.InitDir & "|" & dialog.MaxFileSize
