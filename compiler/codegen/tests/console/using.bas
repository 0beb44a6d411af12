' PRINT USING: every format character
PRINT USING "###"; 5; -12; 123
PRINT USING "##.##"; 3.14159; -0.5; 0.005; 99.999
PRINT USING ".##"; 0.25
PRINT USING "+###"; 7; -7
PRINT USING "###-"; 7; -7
PRINT USING "###+"; 7; -7
PRINT USING "**###"; 42; -42
PRINT USING "$$###.##"; 12.5; -3
PRINT USING "**$##.##"; 12.5
PRINT USING "#,######"; 1234567
PRINT USING "##.##^^^^"; 234.56; -0.000123
PRINT USING ".###^^^^^"; 5E+100
PRINT USING "##"; 12345
PRINT USING "!"; "Tokyo"; "Osaka"
PRINT USING "&"; "whole";
PRINT USING "|\  \|"; "abcdefgh"; "ab"
PRINT USING "Total: ###.## yen_!"; 1500.5
PRINT USING "A=## B=##"; 1; 2; 3
A% = 7: B& = 123456: C! = 1.5: D# = 2.25: E$ = "str"
PRINT USING "### ###### #.## #.### &"; A%; B&; C!; D#; E$
PRINT USING "##"; A% + B&; CBYT(200)
LPRINT USING "<#.#>"; 1.25
PRINT FORMAT$(3.14159, "##.##"); FORMAT$(A%, "+##"); FORMAT$(B&, "#,######"); FORMAT$("abc", "!"); "|"
PRINT FORMAT$(C!, "##.##"); FORMAT$(D#, "#.#"); FORMAT$(A% * 3, "###"); FORMAT$(E$ + "xy", "&"); "|"
' A format longer than the digits a double has: the places past them are 0.
F$ = "#." + STRING$(40, "#")
PRINT USING F$; 1.5
PRINT LEN(FORMAT$(2.5, F$ + "^^^^")); FORMAT$(2.5, "##" + STRING$(30, "#") + "^^^^")
