' Starts nocturodaemon.exe from this script's folder, with that folder as its working
' directory, also when Windows asks for consent to run it as administrator.
Option Explicit
Dim folder
folder = Left(WScript.ScriptFullName, InStrRev(WScript.ScriptFullName, "\") - 1)
CreateObject("Shell.Application").ShellExecute folder & "\nocturodaemon.exe", "", folder, "open", 1
