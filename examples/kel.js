// Prints both reports of this machine through the Kel control.
//   cscript //nologo kel.js
var kel = new ActiveXObject("KEL.KelCtrl.1");
WScript.Echo(kel.GetBriefInfo());
WScript.Echo(kel.GetDetailInfo());
