// The crash messages as the user sees them, compiled to code page 932 like
// the library's own text table.
extern const char kExpectCrashPhase4[] =
    "コード生成：MAIN.BAS[120行] フェーズ4で続行不可能なエラーが発生しました";
extern const char kExpectCrashPhase7[] =
    "コード生成：MAIN.BAS フェーズ7で続行不可能なエラーが発生しました";
