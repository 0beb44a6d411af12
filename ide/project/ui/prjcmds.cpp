// The project frame's build commands.
#include "buildrun.h"
#include "idehelpers.h"
#include "prjframe.h"

void CPrjFrame::OnBuildCompile() { prjui::Build(CurrentProjectDoc(), false, false); }

void CPrjFrame::OnBuildAll() { prjui::Build(CurrentProjectDoc(), true, false); }
