#include "CFoldline.h"

#include "CDlgConfig.h"
#include "CDlgCopyResources.h"
#include "CEditSession.h"
#include "CFoldlineApp.h"
#include "CopySupportFiles.h"
#include "Paths.h"
#include "PreviewMarkup.h"
#include "Prompts.h"
#include "Runtime.h"
#include "Text.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <exception>
#include <new>
#include <stdexcept>
#include <unistd.h>

namespace {

const char* const kPositionCursor = "cursor";

// The folder that file references of a document at path are resolved against and copied into,
// with a trailing "/". A bare file name lives in the current folder, not at the root.
std::string FolderForDocument(const std::string& path) {
    if (path.find_first_of("/\\") != std::string::npos)
        return FolderOfPath(path) + "/";
    char buffer[PATH_MAX];
    if (::getcwd(buffer, sizeof(buffer)))
        return std::string(buffer) + "/";
    return std::string();
}

std::string FormatDate(DATE date) {
    char buffer[512];
    const auto result =
        std::to_chars(buffer, buffer + sizeof(buffer), date, std::chars_format::fixed, 9);
    if (result.ec != std::errc())
        return "0.000000000";
    return std::string(buffer, result.ptr);
}

// Argument access for one Invoke call; positions count in the caller's order.
class CArgs {
public:
    CArgs(const DISPPARAMS& params, UINT* argErr) : m_params(params), m_argErr(argErr) {}

    HRESULT Get(UINT position, VARTYPE vt, VARIANT& out) const {
        const UINT index = m_params.cArgs - 1 - position;
        const HRESULT hr = VariantChangeType(&out, &m_params.rgvarg[index], 0, vt);
        if (FAILED(hr) && m_argErr)
            *m_argErr = index;
        return hr;
    }
    HRESULT Text(UINT position, std::string& out) const {
        VARIANT v;
        const HRESULT hr = Get(position, VT_BSTR, v);
        if (SUCCEEDED(hr))
            out = v.bstrVal;
        return hr;
    }
    HRESULT Short(UINT position, int& out) const {
        VARIANT v;
        const HRESULT hr = Get(position, VT_I2, v);
        if (SUCCEEDED(hr))
            out = v.iVal;
        return hr;
    }
    HRESULT Flag(UINT position, bool& out) const {
        int value = 0;
        const HRESULT hr = Short(position, value); // a boolean reads as 0 or -1
        out = value != 0;
        return hr;
    }
    HRESULT Date(UINT position, DATE& out) const {
        VARIANT v;
        const HRESULT hr = Get(position, VT_DATE, v);
        if (SUCCEEDED(hr))
            out = v.date;
        return hr;
    }

private:
    const DISPPARAMS& m_params;
    UINT* m_argErr;
};

VARIANT CountResult(int count) {
    // The interface counts in signed 16 bits; indexes beyond that cannot be asked for anyway.
    return MakeVariantI2(static_cast<std::int16_t>(std::min(count, 32767)));
}

enum class Kind { Property, Method };

struct MemberInfo;

// One call of a member: the object, its arguments, whether it is a property put, and the result
// that a get or method call hands back.
struct Call {
    CFoldline& self;
    const MemberInfo& member;
    const CArgs& args;
    bool put;
    VARIANT result;
};

using Handler = HRESULT (*)(Call& call);

// A row of the dispatch interface. A property takes argCount arguments to get and one more to
// put; a method is only called.
struct MemberInfo {
    DISPID id;
    const char* name;
    Kind kind;
    UINT argCount;
    Handler handler;
};

// Handlers shared by several rows.

// The catalogue properties are the description keys of their own names.
HRESULT CatalogueProperty(Call& c) {
    if (!c.put) {
        c.result = MakeVariantBstr(c.self.GetDescriptionKey(c.member.name));
        return S_OK;
    }
    std::string text;
    const HRESULT hr = c.args.Text(0, text);
    if (SUCCEEDED(hr))
        c.self.SetDescriptionKey(c.member.name, text);
    return hr;
}

// A member of one text argument whose answer f computes from it.
template <VARIANT (*f)(CFoldline&, const std::string&)> HRESULT WithText(Call& c) {
    std::string text;
    const HRESULT hr = c.args.Text(0, text);
    if (SUCCEEDED(hr))
        c.result = f(c.self, text);
    return hr;
}

// A member of one 16-bit argument whose answer f computes from it.
template <VARIANT (*f)(CFoldline&, int)> HRESULT WithShort(Call& c) {
    int number = 0;
    const HRESULT hr = c.args.Short(0, number);
    if (SUCCEEDED(hr))
        c.result = f(c.self, number);
    return hr;
}

// A member without arguments whose text f answers.
template <auto f> HRESULT Answer(Call& c) {
    c.result = MakeVariantBstr((c.self.*f)());
    return S_OK;
}

template <std::int32_t value> HRESULT Constant(Call& c) {
    c.result = MakeVariantI4(value);
    return S_OK;
}

template <ResourceField field> VARIANT ResourceFieldAt(CFoldline& self, int index) {
    return MakeVariantBstr(self.GetResourceField(index, field));
}

template <ResourceField field>
VARIANT ResourceFieldByName(CFoldline& self, const std::string& name) {
    return MakeVariantBstr(self.GetResourceFieldByName(name, field));
}

// A site member of one text argument: its answer (a text, or true when answerText is false),
// or, when it fails as a whole, the reason as the call's exception.
template <bool (CFoldline::*member)(const std::string&, std::string&), bool answerText>
HRESULT SiteMember(Call& c) {
    std::string argument;
    const HRESULT hr = c.args.Text(0, argument);
    if (FAILED(hr))
        return hr;
    std::string answer;
    if (!(c.self.*member)(argument, answer))
        throw std::runtime_error(answer);
    c.result = answerText ? MakeVariantBstr(answer) : MakeVariantBool(true);
    return S_OK;
}

const MemberInfo kMembers[] = {
    {DISPID_ProgID, "ProgID", Kind::Property, 0, CatalogueProperty},
    {DISPID_Title, "Title", Kind::Property, 0, CatalogueProperty},
    {DISPID_Description, "Description", Kind::Property, 0, CatalogueProperty},
    {DISPID_BitmapFileName, "BitmapFileName", Kind::Property, 0, CatalogueProperty},
    {DISPID_PreviewPath, "PreviewPath", Kind::Property, 0, CatalogueProperty},
    {DISPID_LastUpdateTime, "LastUpdateTime", Kind::Property, 0,
     [](Call& c) {
         if (!c.put) {
             c.result = MakeVariantDate(c.self.GetLastUpdateTime());
             return S_OK;
         }
         DATE date = 0;
         const HRESULT hr = c.args.Date(0, date);
         if (SUCCEEDED(hr))
             c.self.SetLastUpdateTime(date);
         return hr;
     }},
    {DISPID_ReadConfigFile, "ReadConfigFile", Kind::Method, 1,
     WithText<[](CFoldline& self, const std::string& path) {
         return MakeVariantBool(self.ReadConfigFile(path));
     }>},
    {DISPID_WriteConfigFile, "WriteConfigFile", Kind::Method, 1,
     WithText<[](CFoldline& self, const std::string& path) {
         return MakeVariantBool(self.WriteConfigFile(path));
     }>},
    {DISPID_Config, "Config", Kind::Method, 0,
     [](Call& c) {
         c.result = MakeVariantBool(c.self.Config());
         return S_OK;
     }},
    {DISPID_GetTesselTypeID, "GetTesselTypeID", Kind::Method, 0, Constant<IDS_TESSEL_TYPE>},
    {DISPID_GetTesselNameID, "GetTesselNameID", Kind::Method, 0, Constant<IDS_TESSEL_NAME>},
    {DISPID_GetMenuTextID, "GetMenuTextID", Kind::Method, 0, Constant<IDS_MENU_TEXT>},
    {DISPID_GetMessageTextID, "GetMessageTextID", Kind::Method, 0, Constant<IDS_MESSAGE_TEXT>},
    {DISPID_GetTipsTextID, "GetTipsTextID", Kind::Method, 0, Constant<IDS_TIPS_TEXT>},
    {DISPID_GetIconID, "GetIconID", Kind::Method, 1,
     WithShort<[](CFoldline&, int) { return MakeVariantI4(IDI_TESSEL); }>},
    {DISPID_GetHTMLSegmentNumber, "GetHTMLSegmentNumber", Kind::Method, 0,
     [](Call& c) {
         c.result = MakeVariantI2(1);
         return S_OK;
     }},
    {DISPID_GetHTMLPosition, "GetHTMLPosition", Kind::Method, 1,
     WithShort<[](CFoldline&, int) { return MakeVariantBstr(kPositionCursor); }>},
    {DISPID_GetHTMLBody, "GetHTMLBody", Kind::Method, 2,
     [](Call& c) {
         int segment = 0;
         int kind = 0;
         HRESULT hr = c.args.Short(0, segment);
         if (SUCCEEDED(hr))
             hr = c.args.Short(1, kind);
         if (SUCCEEDED(hr))
             c.result = MakeVariantBstr(c.self.GetHTMLBody(segment, kind));
         return hr;
     }},
    {DISPID_GetResourceInstance, "GetResourceInstance", Kind::Method, 0,
     [](Call& c) {
         c.result = MakeVariantI4(CFoldlineApp::Instance().ResourceInstance());
         return S_OK;
     }},
    {DISPID_GetResourceNumber, "GetResourceNumber", Kind::Method, 0,
     [](Call& c) {
         c.result = CountResult(c.self.GetResourceNumber());
         return S_OK;
     }},
    {DISPID_GetResourceName, "GetResourceName", Kind::Method, 1,
     WithShort<ResourceFieldAt<ResourceField::Name>>},
    {DISPID_GetResourceLocalPath, "GetResourceLocalPath", Kind::Method, 1,
     WithShort<ResourceFieldAt<ResourceField::LocalPath>>},
    {DISPID_GetResourceWebPath, "GetResourceWebPath", Kind::Method, 1,
     WithShort<ResourceFieldAt<ResourceField::WebPath>>},
    {DISPID_GetResourceLocalPathByName, "GetResourceLocalPathByName", Kind::Method, 1,
     WithText<ResourceFieldByName<ResourceField::LocalPath>>},
    {DISPID_GetResourceWebPathByName, "GetResourceWebPathByName", Kind::Method, 1,
     WithText<ResourceFieldByName<ResourceField::WebPath>>},
    {DISPID_SetResourceLocalPath, "SetResourceLocalPath", Kind::Method, 1,
     WithText<[](CFoldline& self, const std::string& path) {
         return MakeVariantBool(self.SetResourceLocalPath(path));
     }>},
    {DISPID_PublishToSite, "PublishToSite", Kind::Method, 2,
     [](Call& c) {
         std::string site;
         bool dryRun = false;
         HRESULT hr = c.args.Text(0, site);
         if (SUCCEEDED(hr))
             hr = c.args.Flag(1, dryRun);
         std::string report;
         if (SUCCEEDED(hr) && !c.self.PublishToSite(site, dryRun, report))
             throw std::runtime_error(report);
         if (SUCCEEDED(hr))
             c.result = MakeVariantBstr(report);
         return hr;
     }},
    {DISPID_CheckLinks, "CheckLinks", Kind::Method, 1, SiteMember<&CFoldline::CheckLinks, true>},
    {DISPID_GetItemLinks, "GetItemLinks", Kind::Method, 0,
     [](Call& c) {
         c.result = MakeVariantBstr(c.self.GetItemLinks());
         return S_OK;
     }},
    {DISPID_ImportSite, "ImportSite", Kind::Method, 1, SiteMember<&CFoldline::ImportSite, false>},
    {DISPID_ExportJSON, "ExportJSON", Kind::Method, 1, SiteMember<&CFoldline::ExportJSON, false>},
    {DISPID_ImportJSON, "ImportJSON", Kind::Method, 1, SiteMember<&CFoldline::ImportJSON, false>},
    {DISPID_ConfigSelection, "ConfigSelection", Kind::Property, 0,
     [](Call& c) {
         if (!c.put) {
             c.result = MakeVariantBstr(c.self.ConfigSelection);
             return S_OK;
         }
         return c.args.Text(0, c.self.ConfigSelection);
     }},
    // Read-only: fetched as a property or called, never put.
    {DISPID_LastReadDamage, "LastReadDamage", Kind::Method, 0, Answer<&CFoldline::LastReadDamage>},
    {DISPID_LastError, "LastError", Kind::Method, 0, Answer<&CFoldline::LastError>},
    {DISPID_LastCopyFailures, "LastCopyFailures", Kind::Method, 0,
     Answer<&CFoldline::LastCopyFailures>},
    {DISPID_GetWorkingDocument, "GetWorkingDocument", Kind::Method, 0,
     Answer<&CFoldline::GetWorkingDocument>},
    {DISPID_ReadRecoveryFile, "ReadRecoveryFile", Kind::Method, 1,
     WithText<[](CFoldline& self, const std::string& path) {
         return MakeVariantBool(self.ReadRecoveryFile(path));
     }>},
};

const MemberInfo* FindMember(DISPID id) {
    for (const MemberInfo& m : kMembers) {
        if (m.id == id)
            return &m;
    }
    return nullptr;
}

// Whether the flags, the named arguments and the argument count fit the member.
HRESULT CheckCall(const MemberInfo& member, WORD flags, const DISPPARAMS& params) {
    if (params.cArgs > 0 && !params.rgvarg)
        return E_INVALIDARG;
    const bool put = (flags & DISPATCH_PROPERTYPUT) != 0;
    const bool getOrCall = (flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) != 0;
    if (put ? member.kind != Kind::Property : !getOrCall)
        return DISP_E_MEMBERNOTFOUND;
    // Only the value of a property put may be named, and only as DISPID_PROPERTYPUT.
    if (params.cNamedArgs > 0) {
        if (!put || params.cNamedArgs != 1 || !params.rgdispidNamedArgs ||
            params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_NONAMEDARGS;
    }
    if (params.cArgs != member.argCount + (put ? 1 : 0))
        return DISP_E_BADPARAMCOUNT;
    return S_OK;
}

void FillException(EXCEPINFO* info, HRESULT scode, const std::string& description) {
    if (!info)
        return;
    info->wCode = 0;
    info->bstrSource = kFoldlineProgID;
    info->bstrDescription = description;
    info->scode = scode;
}

} // namespace

// ---- lifetime ----

CFoldline::CFoldline() {
    if (++ObjectCount() == 1)
        CFoldlineApp::Instance().AttachTranslation();
}

CFoldline::~CFoldline() {
    if (--ObjectCount() == 0)
        CFoldlineApp::Instance().DetachTranslation();
}

std::atomic<long>& CFoldline::ObjectCount() {
    static std::atomic<long> count{0};
    return count;
}

CFoldline::DialogRunner& CFoldline::ConfigDialogRunner() {
    static DialogRunner runner = [](CDlgConfig& dialog) {
        return dialog.exec() == QDialog::Accepted;
    };
    return runner;
}

// ---- dispatch ----

HRESULT CFoldline::GetIDsOfNames(REFIID riid, const LPCOLESTR* rgszNames, UINT cNames, LCID,
                                 DISPID* rgDispId) {
    if (riid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    if (!rgszNames || !rgDispId)
        return E_POINTER;
    if (cNames == 0)
        return E_INVALIDARG;
    HRESULT hr = S_OK;
    rgDispId[0] = DISPID_UNKNOWN;
    if (rgszNames[0]) {
        for (const MemberInfo& m : kMembers) {
            if (foldline::EqualsNoCase(rgszNames[0], m.name)) {
                rgDispId[0] = m.id;
                break;
            }
        }
    }
    if (rgDispId[0] == DISPID_UNKNOWN)
        hr = DISP_E_UNKNOWNNAME;
    // No member takes named arguments.
    for (UINT i = 1; i < cNames; ++i) {
        rgDispId[i] = DISPID_UNKNOWN;
        hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT CFoldline::Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD wFlags,
                          DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                          UINT* puArgErr) {
    if (riid != IID_NULL)
        return DISP_E_UNKNOWNINTERFACE;
    const MemberInfo* member = FindMember(dispIdMember);
    if (!member)
        return DISP_E_MEMBERNOTFOUND;
    DISPPARAMS none;
    const DISPPARAMS& params = pDispParams ? *pDispParams : none;
    if (const HRESULT hr = CheckCall(*member, wFlags, params); FAILED(hr))
        return hr;

    const CArgs args(params, puArgErr);
    Call call{*this, *member, args, (wFlags & DISPATCH_PROPERTYPUT) != 0, VARIANT()};
    try {
        const HRESULT hr = member->handler(call);
        if (SUCCEEDED(hr) && !call.put && pVarResult)
            *pVarResult = std::move(call.result);
        return hr;
    } catch (const std::bad_alloc&) {
        FillException(pExcepInfo, E_OUTOFMEMORY, "Out of memory.");
    } catch (const std::exception& e) {
        FillException(pExcepInfo, E_FAIL, e.what());
    } catch (...) {
        FillException(pExcepInfo, E_FAIL, "Unexpected error.");
    }
    return DISP_E_EXCEPTION;
}

// ---- members ----

std::string CFoldline::GetDescriptionKey(const std::string& key) {
    return m_document.GetDescription(key);
}

void CFoldline::SetDescriptionKey(const std::string& key, const std::string& value) {
    m_document.SetDescription(key, value);
}

DATE CFoldline::GetLastUpdateTime() {
    return foldline::LeadingDecimal(m_document.GetDescription("LastUpdateTime"));
}

void CFoldline::SetLastUpdateTime(DATE date) {
    m_document.SetDescription("LastUpdateTime", FormatDate(date));
}

bool CFoldline::ReadConfigFile(const std::string& path) {
    const CLoadResult loaded = m_document.LoadFile(path);
    m_lastError = loaded.file.Describe();
    m_lastReadDamage = loaded.DescribeDamage();
    if (!loaded.file)
        return false;
    const std::string* progId = m_document.Descriptions().Find("ProgID");
    if (!progId || *progId != kFoldlineProgID)
        return true; // another component's widget: only the tables hold it
    m_model.Reset();
    // Another widget: its tree opens as any widget's does the first time.
    m_expansion = {};
    // A damaged table leaves the model with its applet-wide fields; the file was still read.
    if (!m_model.ReadParameters(m_document, FolderForDocument(path)))
        m_lastReadDamage.append(m_lastReadDamage.empty() ? "" : "; ")
            .append("the menus in the Parameter part could not be read");
    m_resourcesCurrent = true;
    return true;
}

bool CFoldline::WriteConfigFile(const std::string& path) {
    m_document.ClearParameters();
    m_document.ClearResources();
    m_document.ClearSegments();
    m_document.SetDescription("ProgID", kFoldlineProgID);
    const std::string folder = FolderForDocument(path);
    // The runtime goes first, like the class file, so an author's file of the same name is a
    // clash settled in the dialog rather than silently written over once copied.
    m_copyFailures = PlaceRuntimeFiles(folder);
    CDlgCopyResources::OnDemand resolver;
    for (FileResult& failure : CopySupportFiles(m_model, folder, &resolver))
        m_copyFailures.push_back(std::move(failure));
    m_model.WriteParameters(m_document);
    m_model.BuildResourceList(m_document);
    m_document.AddSegment(kPositionCursor, GetHTMLBody(0, kHtmlAppletLocal));
    m_resourcesCurrent = true;
    const FileResult saved = m_document.SaveFile(path);
    m_lastError = saved.Describe();
    // A write that fails part way is an error of the call, as a save has always reported it.
    if (saved.failed == FileResult::Stage::Write)
        throw CTesselWriteError(saved.reason);
    return saved.Ok();
}

std::string CFoldline::LastCopyFailures() const {
    std::string lines;
    for (const FileResult& failure : m_copyFailures)
        lines.append(lines.empty() ? "" : "\n").append(failure.Describe());
    return lines;
}

bool CFoldline::Config() {
    // Without a screen (a command-line host) no dialog can be shown, so nothing changes.
    if (!ui::canShowDialogs())
        return false;
    auto backup = std::make_unique<CAppletParameters>();
    backup->Assign(m_model);

    bool accepted = false;
    {
        // The session outlives the dialog, whose pages store through it until they are gone.
        CEditSession session(m_model);
        session.SetExpansion(&m_expansion);
        auto dialog = std::make_unique<CDlgConfig>();
        dialog->SetSession(&session);
        m_configDialog = dialog.get();
        try {
            SelectConfigNode(*dialog);
            accepted = ConfigDialogRunner()(*dialog);
        } catch (...) {
            m_configDialog = nullptr;
            dialog.reset();
            m_model.Assign(*backup);
            throw;
        }
        m_configDialog = nullptr;
    }
    if (accepted) {
        m_resourcesCurrent = false;
        return true;
    }
    m_model.Assign(*backup);
    return false;
}

std::string CFoldline::GetHTMLBody(int, int kind) {
    // The fragment reads "PreviewPath"; a key once read is kept and written by the next save.
    m_document.GetDescription("PreviewPath");
    // Kinds 2 and 3 are the local and web markup for today's browsers, which run no applets.
    if (kind == kHtmlModernLocal || kind == kHtmlModernWeb)
        return m_model.GetModernHtml(m_document, kind == kHtmlModernLocal ? kHtmlLocal : kHtmlWeb);
    // Kind 4 is what the program's live preview draws; it reads the model and changes nothing.
    if (kind == kHtmlLivePreview)
        return PreviewMarkup(m_model, false);
    return m_model.GetAppletHtml(m_document, kind);
}

void CFoldline::EnsureResourceListCurrent() {
    if (!m_resourcesCurrent) {
        m_model.BuildResourceList(m_document);
        m_resourcesCurrent = true;
    }
}

int CFoldline::GetResourceNumber() {
    EnsureResourceListCurrent();
    return m_document.GetResourceCount();
}

std::string CFoldline::GetResourceField(int index, ResourceField field) {
    EnsureResourceListCurrent();
    return m_document.GetResourceField(index, field);
}

std::string CFoldline::GetResourceFieldByName(const std::string& name, ResourceField field) {
    EnsureResourceListCurrent();
    return m_document.GetResourceFieldByName(name, field);
}

bool CFoldline::SetResourceLocalPath(const std::string& path) {
    EnsureResourceListCurrent();
    return m_document.SetAllResourceLocalPaths(path);
}
