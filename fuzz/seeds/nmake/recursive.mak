R=$(R)
all: $(R)
	echo $(R)
