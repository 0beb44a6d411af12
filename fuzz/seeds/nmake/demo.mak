# Example project: two modules and a resource script, as the IDE writes
# its make scripts (paths relative to this folder).

# TXCL options
.SUFFIXES:.bas .sub
DEP_FILE=
BOPTS=/nologo /MW /CLe /CIe /COe /CFF /Zi 

# object files
OBJS=\
	"MAIN.obj"\
	"GREET.obj"\
	

# resources
RESNAME="DEMO.res"

RCOPT=/l 0x411 /fo $(RESNAME)

BETNAME=

# link options
EXE="DEMO.exe"
LINKOPT=/nologo /subsystem:windows /machine:IX86 /nodefaultlib /DEBUG /DEBUGTYPE:COFF /out:$(EXE) 
LIBS=\
	 TQ70RN63.LIB TQ70RW63.LIB TQ70RM63.LIB TQ70MS63.LIB TQ70LF63.LIB TQ70RO63.LIB TQ70RI63.LIB\
	

################################################
.bas.obj:
	TXCL $(BOPTS) /Fo$*.obj $*.bas

.sub.obj:
	TXCL $(BOPTS) /Fo$*.obj $*.sub

$(EXE) : $(OBJS) $(RESNAME) "DEMO.MAK"
	LINK @<<
$(LINKOPT) $(OBJS) $(RESNAME) $(LIBS)
<<

################################################
DEP_FILE=
"GREET.obj" : "GREET.SUB" $(DEP_FILE) $(BETNAME)
	TXCL $(BOPTS) /Fo"GREET.obj" "GREET.SUB"

DEP_FILE=
"MAIN.obj" : "MAIN.BAS" $(DEP_FILE) $(BETNAME)
	TXCL $(BOPTS) /Fo"MAIN.obj" "MAIN.BAS"

$(RESNAME) : "DEMO.RC"
	RC $(RCOPT) "DEMO.RC" 
