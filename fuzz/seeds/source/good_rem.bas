REM a comment
' another
PRINT 1 ' after a statement
