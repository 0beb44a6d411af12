      1 ' expect: 29 13 13 13 29 39 22 10 18 10 76 76 76 29 10 39 02 10 13 13
      2 CALL NOSUCH
t.bas ****2行 [29] 定義されていないシンボル名が参照されました
      3 SWAP A%, B$
t.bas ****3行 [13] 変数または式の型が合っていません
      4 LSET X% = "a"
t.bas ****4行 [13] 変数または式の型が合っていません
      5 MID$(A%, 1) = "x"
t.bas ****5行 [13] 変数または式の型が合っていません
      6 ERASE NOPE
t.bas ****6行 [29] 定義されていないシンボル名が参照されました
      7 CONTINUE
t.bas ****7行 [39] 制御ブロックの構成に誤りがあります
      8 DECLARE SUB FILL (A%())
      9 DIM V%(2)
     10 CALL FILL(V%(1))
t.bas ***10行 [22] オペランドの記述が正しくありません
     11 DIM V%(3)
t.bas ***11行 [10] 重複定義を行おうとしました
     12 PRINT FN NOPE(1)
t.bas ***12行 [18] 定義されていない関数(FN)が参照されました
     13 DEF FN SQ(X) = X * X
     14 DEF FN SQ(Y) = Y
t.bas ***14行 [10] 重複定義を行おうとしました
     15 SUB FILL (A%())
     16 DEF FN IN(X) = X
t.bas ***16行 [76] ここでは宣言または実行できません
     17 END SUB
     18 SHARED TOTAL%
t.bas ***18行 [76] ここでは宣言または実行できません
     19 STATIC Q%
t.bas ***19行 [76] ここでは宣言または実行できません
     20 DECLARE SUB PEEK2 ()
     21 SUB PEEK2 ()
     22 SHARED NOSUCH%
t.bas ***22行 [29] 定義されていないシンボル名が参照されました
     23 SHARED V%(), V%()
t.bas ***23行 [10] 重複定義を行おうとしました
     24 STATIC W%(3)
     25 END SUB
     26 END DECLARE
t.bas ***26行 [39] 制御ブロックの構成に誤りがあります
     27 DECLARE
     28 PRINT 1
t.bas ***28行 [02] 文法が正しくありません
     29 END DECLARE
     30 N% = 2
     31 DIM D(N%), D(N%)
t.bas ***31行 [10] 重複定義を行おうとしました
     32 TYPE PT
     33   X AS INTEGER
     34 END TYPE
     35 TYPE BIG
     36   A AS DOUBLE
     37 END TYPE
     38 DIM P AS PT, G AS BIG
     39 SWAP P, G
t.bas ***39行 [13] 変数または式の型が合っていません
     40 DIM FA AS STRING * 3, FC AS STRING * 4
     41 SWAP FA, FC
t.bas ***41行 [13] 変数または式の型が合っていません
エラー個数=      20 ワーニング個数=       0
