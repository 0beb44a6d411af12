// Small services every part of the IDE uses: the one message box, the
// frames' enabling around modal states, finding the project document, the
// texts of runtime error numbers.
#pragma once

#include <windows.h>

#include <string>

class CPrjDoc;

// Shows string id (with arg put in for its "%s"; id 0 shows arg itself)
// titled "Tambrix", without owner; disableFrames 1 disables both frames
// while it is up. Returns the button, or IDOK when there was nothing to show.
int MessageBoxById(UINT id, UINT flags, int disableFrames, const char* arg = nullptr);
void EnableFrames(bool enable);
CPrjDoc* FindProjectDoc();
CPrjDoc* GetProjectDoc();
// The project of a project command: the open one, else the hidden DEFAULT.
inline CPrjDoc* CurrentProjectDoc() {
    CPrjDoc* d = FindProjectDoc();
    return d ? d : GetProjectDoc();
}
bool GetRuntimeErrorText(unsigned errorNumber, std::string& out, bool nextLine, bool withDetail,
                         bool wholeNumber);
DWORD GetPlatformId();
