// Prints the brief report of this machine through the Kel control.
//   cscript //nologo brief.js
WScript.Echo(new ActiveXObject("KEL.KelCtrl.1").GetBriefInfo());
