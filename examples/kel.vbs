' Prints both reports of this machine through the Kel control.
'   cscript //nologo kel.vbs
Dim kel
Set kel = CreateObject("KEL.KelCtrl.1")
WScript.Echo kel.GetBriefInfo
WScript.Echo kel.GetDetailInfo()
