// Printing text: a device of pages and text lines in a fixed-pitch font.
// The platform's printer is one device; tests put a recording device in
// its place (SetPrintDeviceSource) and read what would have been printed.
#pragma once

#include "fwwnd.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CPrintDevice {
public:
    virtual ~CPrintDevice() = default;
    virtual bool StartDoc(const std::string& name) = 0;
    virtual bool StartPage() = 0;
    // One line at the given line index of the page.
    virtual void PrintLine(int index, const std::string& text) = 0;
    virtual bool EndPage() = 0;
    virtual void EndDoc() = 0;
    virtual void AbortDoc() = 0;
    // The page's size in characters of the device's font.
    virtual int Columns() = 0;
    virtual int LinesPerPage() = 0;
};

// What a recording device saw, one entry per call: "StartDoc <name>",
// "StartPage", "Line <index> <text>", "EndPage", "EndDoc".
class CRecordingPrintDevice : public CPrintDevice {
public:
    CRecordingPrintDevice(int columns, int lines, std::vector<std::string>* log)
        : columns_(columns), lines_(lines), log_(log) {}
    bool StartDoc(const std::string& name) override { log_->push_back("StartDoc " + name); return true; }
    bool StartPage() override { log_->push_back("StartPage"); return true; }
    void PrintLine(int index, const std::string& text) override {
        log_->push_back("Line " + std::to_string(index) + " " + text);
    }
    bool EndPage() override { log_->push_back("EndPage"); return true; }
    void EndDoc() override { log_->push_back("EndDoc"); }
    void AbortDoc() override { log_->push_back("AbortDoc"); }
    int Columns() override { return columns_; }
    int LinesPerPage() override { return lines_; }

private:
    int columns_, lines_;
    std::vector<std::string>* log_;
};

namespace fw {
// Makes the device of one print command: withDialog shows the print
// dialog first; nullptr when cancelled or no printer is there.
using PrintDeviceSource = std::function<std::unique_ptr<CPrintDevice>(CWnd* owner, bool withDialog)>;
// Replaces the platform's printer (an empty source puts it back).
void SetPrintDeviceSource(PrintDeviceSource source);
std::unique_ptr<CPrintDevice> OpenPrintDevice(CWnd* owner, bool withDialog);
// Prints a text on the device laid out by fw::LayoutTextPages; false when
// the device failed (the document is then aborted).
bool PrintText(CPrintDevice& device, const std::string& docName, const std::string& text);
}  // namespace fw
