// The project core's surroundings on Win32: files, clock, registry,
// messages and the IDE's windows, as the project document and the build
// hand them to ide/project.
#pragma once

#include "project_env.h"

class CDocument;
struct tagWINDOWPOS;

namespace prjui {

// One set for the whole program (the GUI thread uses it).
prj::ProjectEnv& Env();

// The save question of a modified project or runtime environment: "%s への
// 変更を保存しますか?" with the file's name, Yes/No/Cancel, both frames
// disabled while it is up. False for Cancel or a failed save.
bool AskToSave(CDocument& doc);

// A project child frame maximised keeps its caption in view: the position
// the frame is about to take is moved down by one caption height.
void KeepCaptionWhenZoomed(void* hwnd, tagWINDOWPOS* pos);

// The migration commands (ID_MIGRATE_*): the topmost editor's text, or its
// selection, through the converter TQ70BCNV and back.
void Migrate(unsigned id);

}  // namespace prjui
