// The project document: the project's data and its .mak file, and the
// fields the windows read.
#pragma once

#include "fw.h"
#include "project_data.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The project document: its data and the fields the windows read.
class CPrjDoc : public CDocument {
    FW_DECLARE_DYNCREATE(CPrjDoc)
public:
    ~CPrjDoc() override;
    bool m_bDefaultProject = false;
    bool m_bFilledFromSource = false;
    int m_nModules = 0;
    std::string m_strProjectFile;
    std::string m_strProgramFile;
    int m_nDrive = -1;
    std::string m_strFolder = "\\";
    std::string m_strBetPath;
    std::string m_strRcPath;
    uint16_t m_nRunModel = 0;
    uint32_t m_nStatus = 0;
    bool m_bNeedsRebuild = false;
    int m_nDocCounter = 0;

    // The project's mode (0 edit, 1 debug): the debugger sets it, the
    // windows read it.
    int m_nDebugState = 0;
    int GetDebugState() const { return m_nDebugState; }

    // A module of the project as its file list knows it: the stored name
    // (as written in the project) and the resolved full path.
    struct FileRecord {
        uint32_t id;
        std::string stored, resolved;
    };
    std::vector<FileRecord> m_files;
    FileRecord* FindFileRecord(uint32_t id);
    // A module saved under another name: its record and tree item
    // (ide/project/ui/prjdoc.cpp).
    void RenameTreeItem(const std::string& from, const std::string& to);

    // The project's data and its .mak file (ide/project/ui/prjdoc.cpp); the
    // fields above follow it after every read, write and build.
    std::unique_ptr<prj::ProjectData> m_pData;
    prj::ProjectData& Data();
    void SyncFromData();
    // Changes made in the project's data count as changes of the document,
    // so closing asks for them; the frame's own DEFAULT project never asks.
    bool IsModified() override;
    void SetModifiedFlag(bool modified = true) override;
    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    void OnCloseDocument() override;
    void Serialize(CArchive& ar) override;
    bool SaveModified() override;

    // What another window library keeps per project (the debugger's state,
    // ide/debugger/ui): owned here, read only by its library; it goes before
    // the rest of the document.
    struct Attachment {
        virtual ~Attachment() = default;
    };
    std::unique_ptr<Attachment> m_pDebugger;
};
