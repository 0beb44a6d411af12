' LOADM, CALLS and CALLM into loaded modules, DELETEM.
X& = 4
LOADM "modr"
CALLS "MODR" (X&)
PRINT X&; RTN
LOADM "DLLLIB.DLL"
K% = 1
CALLM "dlllib.dll", "TWICE", 21
PRINT RTN
CALLM "DLLLIB.DLL", "GREET", "there", K%
PRINT K%
DELETEM "dlllib.dll"
CALLS "MODR" (X&, "given")
DELETEM "MODR"
CALLS "MODR" (X&)
