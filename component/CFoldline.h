// The automation object: one widget (its document and its model) behind one dispatch interface.
#pragma once

#include "CAppletParameters.h"
#include "CTesselFile.h"
#include "Com.h"
#include "ExpansionMemory.h"
#include "FoldlineDispatch.h"
#include "UnknownImpl.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CDlgConfig;

class CFoldline final : public CUnknownImpl<IDispatch, IID_IDispatch> {
public:
    CFoldline();
    CFoldline(const CFoldline&) = delete;
    CFoldline& operator=(const CFoldline&) = delete;

    // IDispatch
    HRESULT GetIDsOfNames(REFIID riid, const LPCOLESTR* rgszNames, UINT cNames, LCID lcid,
                          DISPID* rgDispId) override;
    HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                   DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                   UINT* puArgErr) override;

    // The members, callable directly by the library's own code and tests.
    std::string GetDescriptionKey(const std::string& key);
    void SetDescriptionKey(const std::string& key, const std::string& value);
    DATE GetLastUpdateTime();
    void SetLastUpdateTime(DATE date);
    bool ReadConfigFile(const std::string& path);
    bool WriteConfigFile(const std::string& path);
    bool Config();
    std::string GetHTMLBody(int segment, int kind);
    int GetResourceNumber();
    std::string GetResourceField(int index, ResourceField field);
    std::string GetResourceFieldByName(const std::string& name, ResourceField field);
    bool SetResourceLocalPath(const std::string& path);

    // The site work (SiteMembers.cpp). Each is false with the reason when it fails as a whole;
    // PublishToSite and CheckLinks answer their report (a page's problem is a line of it).
    bool PublishToSite(const std::string& site, bool dryRun, std::string& report);
    bool CheckLinks(const std::string& site, std::string& findings);
    std::string GetItemLinks();
    bool ImportSite(const std::string& site, std::string& reason);
    bool ExportJSON(const std::string& path, std::string& reason);
    bool ImportJSON(const std::string& path, std::string& reason);
    // The node ("0.3.1": the top-level menu's index, then the item's index in each menu) that the
    // next Config selects when it opens; Config clears it.
    std::string ConfigSelection;
    // Why the last ReadConfigFile or WriteConfigFile failed ("path: reason"), what the last
    // ReadConfigFile found damaged, and the support files the last WriteConfigFile could not
    // copy, one per line. Empty when there is nothing to tell.
    const std::string& LastError() const { return m_lastError; }
    const std::string& LastReadDamage() const { return m_lastReadDamage; }
    std::string LastCopyFailures() const;
    // The widget file a save would write now, with the open dialog's edits, copying nothing; and
    // reading such a file back with its references in the folders they named.
    std::string GetWorkingDocument();
    bool ReadRecoveryFile(const std::string& path);


    CAppletParameters& Model() { return m_model; }
    CTesselFile& Document() { return m_document; }

    // How Config shows the dialog, which edits the model through the session Config hands it: by
    // default exec(); tests drive the dialog instead and return true for OK.
    using DialogRunner = std::function<bool(CDlgConfig& dialog)>;
    static DialogRunner& ConfigDialogRunner();

    static std::atomic<long>& ObjectCount();

private:
    ~CFoldline() override;
    // Rebuilds the resource list from the model unless it still reflects it.
    void EnsureResourceListCurrent();
    // After the menus were replaced: no binding points into the old tree, the lists are rebuilt.
    void MenusReplaced();
    // Selects the node ConfigSelection names in the dialog, then forgets it.
    void SelectConfigNode(CDlgConfig& dialog);

    CTesselFile m_document;
    CAppletParameters m_model;
    // The configuration tree's open nodes, from one Config to the next of this widget.
    CExpansionMemory m_expansion;
    bool m_resourcesCurrent = false;
    CDlgConfig* m_configDialog = nullptr;
    std::string m_lastError;
    std::string m_lastReadDamage;
    std::vector<FileResult> m_copyFailures;
};
