' Declarations the main module of a windowed program includes. Names are
' compared as written: these are spelled as the new-project text uses them.
declare sub waitevent ()
