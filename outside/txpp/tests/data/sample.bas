' サンプル: every kind of unit
10 DEFINT I-N
DIM 名前$(10) AS STRING * 20, total# AS DOUBLE
*START: FOR i = 1 TO 32767 STEP 2
  total# = total# + 1.5 * &HFF - 40000 / 2.5#
NEXT i
IF NOT (a <= b) AND c <> 0 THEN 100 ELSE *START
PRINT #1, "漢字""とカナ ｶﾅ"; LEN(名前$(1)); MID$(x$, 2)
100 DATA 1, "a,b", ﾃﾞｰﾀ
DECLARE SUB show LIB "user32" ALIAS "ShowIt" (BYVAL n AS LONG)
ON ERROR GOTO 0: obj.CLS: DEF FNsq(x) = x ^ 2

GO TO 10 : REM end
PRINT "unterminated
