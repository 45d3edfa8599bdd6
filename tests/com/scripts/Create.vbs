' Makes each control by its ProgID and prints the error number of each attempt: 0 when it was made.
On Error Resume Next
For Each progId In Array("Relingo.FileNameBox", "Relingo.FilOpDlg", "Relingo.FileNameBox.1")
    Err.Clear
    Set control = CreateObject(progId)
    WScript.Echo progId & " " & Err.Number
    Set control = Nothing
Next
