@echo off
rem sample.bat - copies build output to a release folder.
REM Upper-case remarks are comments too.
:: A double-colon line is a comment as well.
@rem Even with the at sign in front.
setlocal EnableDelayedExpansion

set "SOURCE=%~dp0build"
set TARGET=%USERPROFILE%\release
set /a COUNT=0
set /a LIMIT=10

if "%~1"=="" (
    echo Usage: %~nx0 VERSION
    goto :eof
)
set VERSION=%1

if not exist "%SOURCE%" (
    echo Error: "%SOURCE%" does not exist.
    exit /b 1
)

if not exist "%TARGET%\%VERSION%" mkdir "%TARGET%\%VERSION%"

for %%F in ("%SOURCE%\*.exe" "%SOURCE%\*.dll") do (
    copy /y "%%F" "%TARGET%\%VERSION%\" >nul
    set /a COUNT+=1
    if !COUNT! GEQ %LIMIT% goto :done
)

:done
echo Copied %COUNT% files to "%TARGET%\%VERSION%".
call :log "release %VERSION% finished"
endlocal
exit /b 0

:log
rem Appends one line to the log file.
echo %DATE% %TIME% %~1>>"%TEMP%\release.log"
goto :eof
