// Prints the detailed report of this machine through the Kel control.
//   cscript //nologo detail.js
WScript.Echo(new ActiveXObject("KEL.KelCtrl.1").GetDetailInfo());
