' Prints the name parts of the names given, each checked with the mode given first:
'   NameParts.vbs MODE NAME...
Set box = CreateObject("Relingo.FileNameBox")
box.MessageShow = False
box.mode = WScript.Arguments(0)
For i = 1 To WScript.Arguments.Count - 1
    box.Text = WScript.Arguments(i)
    WScript.Echo "[" & box.FileName & "|" & box.FilePath & "|" & box.FileTitle & "|" & _
        box.FileBody & "|" & box.FilePathBody & "|" & box.FileExtension & "|" & _
        box.FileDrive & "|" & box.IsFile & "|" & box.IsFolder & "|" & box.ValidateValue & _
        "|" & box.Cancel & "]"
    WScript.Echo "long=" & box.LongFileName
    WScript.Echo "short is shorter=" & (Len(box.ShortFileName) > 0 And _
        Len(box.ShortFileName) <= Len(box.Text))
Next
