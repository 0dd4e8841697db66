@echo off
rem Registers Kel.ocx (argument 1) in this Wine prefix and runs a script
rem client (argument 2) through cscript; used by scripts/show-report.
regsvr32 /s "%~1"
if errorlevel 1 exit /b 1
cscript.exe //nologo "%~2"
