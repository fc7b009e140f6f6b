@echo off
rem Runs the Quillsuite test kit from this folder. Unit tests always run; the end-to-end tests
rem only with --disposable-machine (Windows Sandbox, a CI agent, a test VM), since they change
rem the clipboard, the http/https/mailto handlers, Desktop and Favorites, the focus and keys.
rem Results go to the folder "results" beside this file unless --results FOLDER names another.
rem Exit status 0 only when no test failed. See README.txt.
"%~dp0runner.exe" %*
exit /b %ERRORLEVEL%
