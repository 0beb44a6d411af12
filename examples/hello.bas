' hello.bas: the smallest program, a greeting and a count
DIM I AS INTEGER
PRINT "Hello, world"
FOR I = 1 TO 3
  PRINT I
NEXT I
END
