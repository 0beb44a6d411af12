// Printing sources and the page setup. The page layout is the portable
// PrintLayout; here it runs on a device context: the printer's, or in the
// test build a recording one (one enhanced metafile per page).
#pragma once

#include "fw.h"
#include "pagesetup.h"
#include "printlayout.h"

#include <commdlg.h>

#include <functional>
#include <memory>
#include <string>

// A print run's device: a device context per page and its metrics.
class PrintSink {
public:
    virtual ~PrintSink() = default;
    virtual bool StartDoc(const std::string& name) = 0;
    virtual bool StartPage() = 0;
    virtual bool EndPage() = 0;
    virtual void EndDoc() = 0;
    virtual void AbortDoc() = 0;
    virtual HDC Dc() = 0;  // the page's (or before the first page, a measuring) context
    virtual tambrix::PrinterMetrics Metrics() = 0;
};

// Makes the device of one print run: direct takes the default printer,
// else the print dialog asks (selection: whether to offer and then whether
// the user chose the selection). Null: cancelled or no printer.
using PrintSinkSource = std::function<std::unique_ptr<PrintSink>(CWnd* owner, bool direct, bool& selection)>;
void SetPrintSinkSource(PrintSinkSource source);
// A device that writes each page as folder\PAGEn.emf with the given
// metrics (the test build prints there).
std::unique_ptr<PrintSink> MakeMetafileSink(const std::string& folder, const tambrix::PrinterMetrics& m);

// Prints the text of an editor view (Part of the main frame's print
// command and the view's own).
void PrintEditorView(CWnd* view, const std::string& title, bool direct);

class CTvPageSetupDlg {
public:
    explicit CTvPageSetupDlg(CWnd* parent);
    ~CTvPageSetupDlg();
    CTvPageSetupDlg(const CTvPageSetupDlg&) = delete;
    CTvPageSetupDlg& operator=(const CTvPageSetupDlg&) = delete;

    bool LoadPageSetup();
    bool SavePageSetup();
    // The platform's page-setup dialog on template 1546; IDOK or IDCANCEL.
    INT_PTR DoModal();
    static UINT_PTR CALLBACK HookProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp);

    PAGESETUPDLGA m_psd{};
    tambrix::PageSetupValues m_values;
    std::string m_strSize;  // the size text as the box shows it
    LOGFONTA m_printFont{};
    HFONT m_hPrintFont = nullptr;
    int m_nScreenDpi = 96;
    HWND m_hDlg = nullptr;

    void OnInitDialog(HWND dlg);
    void OnOK(HWND dlg);
    void FillSizeList(HWND dlg);
};
