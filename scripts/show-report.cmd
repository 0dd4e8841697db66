@echo off
rem Registers Kel.ocx (argument 1) in this Wine prefix with the regsvr32 of
rem the module's own bitness, then runs a script client (argument 2) through
rem the cscript of that bitness: argument 3 names their folder under the
rem Windows directory, system32 (64-bit) or syswow64 (32-bit). Used by
rem scripts/show-report.
"%SystemRoot%\%~3\regsvr32.exe" /s "%~1"
if errorlevel 1 (
    echo show-report: regsvr32 could not register %~1 1>&2
    exit /b 1
)
"%SystemRoot%\%~3\cscript.exe" //nologo "%~2"
