' expect: 09 09 09 09
TYPE P
  X(2, 3) AS INTEGER
END TYPE
DIM A(5), Q AS P, R(4) AS P
A(1, 2) = 3
PRINT A(A(1), 1)
Q.X(1, 2) = 5
R(1).X(1) = 4
R(1, 2).X(1, 1) = 3
PRINT Q.X(1, 2) + A(4)
