# SHELL commands for shell.bas: COMMAND, a tab, its result, a tab, what it prints.
echo hi	0	hi\n
build all	2	compiling\n  done\twith 1 warning\n
quiet	-7
prompt	1	> 
