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

    CTesselFile m_document;
    CAppletParameters m_model;
    // The configuration tree's open nodes, from one Config to the next of this widget.
    CExpansionMemory m_expansion;
    bool m_resourcesCurrent = false;
};
