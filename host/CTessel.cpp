#include "CTessel.h"

#include "FoldlineDispatch.h"
#include "HostServices.h"
#include "HostStrings.h"
#include "Registry.h"
#include "Resources.h"
#include "TemplateFolders.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

DATE CurrentLocalDate() {
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 days = QDate(1899, 12, 30).daysTo(now.date());
    return static_cast<double>(days) + now.time().msecsSinceStartOfDay() / 86400000.0;
}

namespace {

bool FileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// Puts the program's own string lookup back however the loading ends.
class CResourceHandleScope {
public:
    explicit CResourceHandleScope(HINSTANCE h) : m_saved(GetResourceHandle()) {
        SetResourceHandle(h);
    }
    ~CResourceHandleScope() { SetResourceHandle(m_saved); }
    CResourceHandleScope(const CResourceHandleScope&) = delete;
    CResourceHandleScope& operator=(const CResourceHandleScope&) = delete;

private:
    HINSTANCE m_saved;
};

} // namespace

bool CTessel::Create(const std::string& progIdToFind) {
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(progIdToFind.c_str(), &clsid)))
        return false;
    std::string registered;
    if (FAILED(ProgIDFromCLSID(clsid, &registered)))
        return false;
    progId = registered;
    classId = clsid;

    const std::string keyName = "CLSID\\" + StringFromCLSID(classId);
    HKEY key = nullptr;
    if (RegOpenKey(HKEY_CLASSES_ROOT, keyName.c_str(), &key) != ERROR_SUCCESS)
        return false;
    std::string libraryPath;
    if (RegQueryValue(key, "InprocServer32", &libraryPath) != ERROR_SUCCESS)
        libraryPath.clear();
    RegCloseKey(key);
    componentFolder = FolderOfPath(libraryPath);

    samplePath.clear();
    if (!libraryPath.empty() && FileExists(libraryPath)) {
        const std::string sample = componentFolder + "/Sample/sample.htm";
        if (FileExists(sample))
            samplePath = sample;
    }

    if (!dispatch.IsValid() && !dispatch.CreateDispatch(classId)) {
        host::Message(nullptr,
                      QCoreApplication::translate("CTessel", "Create Dispatch of the %1 Error!")
                          .arg(QString::fromStdString(progId)));
        return false;
    }

    {
        CResourceHandleScope scope(static_cast<HINSTANCE>(GetResourceInstance()));
        const HINSTANCE h = GetResourceHandle();
        typeText = LoadStringText(h, static_cast<unsigned>(GetTesselTypeID()));
        nameText = LoadStringText(h, static_cast<unsigned>(GetTesselNameID()));
        messageText = LoadStringText(h, static_cast<unsigned>(GetMessageTextID()));
        menuText = LoadStringText(h, static_cast<unsigned>(GetMenuTextID()));
    }

    SetTitle("Normal");
    SetDescription("");
    return true;
}

void CTessel::ScanTemplates(std::vector<std::string>& titles,
                            std::vector<std::string>& descriptions,
                            std::vector<std::string>& paths) {
    titles.clear();
    descriptions.clear();
    paths.clear();
    const std::string extension = std::string(".") + host::kTemplateExtension;
    for (const std::string& folder : host::TemplateFolders(componentFolder)) {
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            if (!it->is_regular_file(ec))
                continue;
            const std::string name = it->path().filename().string();
            if (name.size() <= extension.size() ||
                name.compare(name.size() - extension.size(), extension.size(), extension) != 0)
                continue;
            const std::string path = folder + "/" + name;
            ReadConfigFile(path);
            if (GetProgID() == progId) {
                titles.push_back(GetTitle());
                descriptions.push_back(GetDescription());
                paths.push_back(path);
            }
        }
    }
}

std::string CTessel::GetProgID() {
    return dispatch.GetPropertyText(DISPID_ProgID);
}
void CTessel::SetProgID(const std::string& value) {
    dispatch.SetPropertyText(DISPID_ProgID, value);
}
std::string CTessel::GetTitle() {
    return dispatch.GetPropertyText(DISPID_Title);
}
void CTessel::SetTitle(const std::string& value) {
    dispatch.SetPropertyText(DISPID_Title, value);
}
std::string CTessel::GetDescription() {
    return dispatch.GetPropertyText(DISPID_Description);
}
void CTessel::SetDescription(const std::string& value) {
    dispatch.SetPropertyText(DISPID_Description, value);
}
std::string CTessel::GetPreviewPath() {
    return dispatch.GetPropertyText(DISPID_PreviewPath);
}
void CTessel::SetPreviewPath(const std::string& value) {
    dispatch.SetPropertyText(DISPID_PreviewPath, value);
}
void CTessel::SetLastUpdateTime(DATE value) {
    dispatch.SetPropertyDate(DISPID_LastUpdateTime, value);
}

bool CTessel::ReadConfigFile(const std::string& path) {
    return dispatch.CallBool(DISPID_ReadConfigFile, {MakeVariantBstr(path)});
}
bool CTessel::WriteConfigFile(const std::string& path) {
    return dispatch.CallBool(DISPID_WriteConfigFile, {MakeVariantBstr(path)});
}
bool CTessel::Config() {
    return dispatch.CallBool(DISPID_Config);
}

std::int32_t CTessel::GetResourceInstance() {
    return dispatch.CallInt(DISPID_GetResourceInstance);
}
std::int32_t CTessel::GetTesselTypeID() {
    return dispatch.CallInt(DISPID_GetTesselTypeID);
}
std::int32_t CTessel::GetTesselNameID() {
    return dispatch.CallInt(DISPID_GetTesselNameID);
}
std::int32_t CTessel::GetMessageTextID() {
    return dispatch.CallInt(DISPID_GetMessageTextID);
}
std::int32_t CTessel::GetMenuTextID() {
    return dispatch.CallInt(DISPID_GetMenuTextID);
}

int CTessel::GetHTMLSegmentNumber() {
    return dispatch.CallInt(DISPID_GetHTMLSegmentNumber);
}

// Indexes and kinds travel as 16-bit integers; the callers only count up from 0.
static VARIANT IndexArg(int value) {
    return MakeVariantI2(static_cast<std::int16_t>(std::clamp(value, -32768, 32767)));
}

std::string CTessel::GetHTMLPosition(int segment) {
    return CallIndexText(DISPID_GetHTMLPosition, segment);
}
std::string CTessel::PublishToSite(const std::string& site, bool dryRun) {
    return dispatch.CallText(DISPID_PublishToSite,
                             {MakeVariantBstr(site), MakeVariantBool(dryRun)});
}
std::string CTessel::CheckLinks(const std::string& site) {
    return dispatch.CallText(DISPID_CheckLinks, {MakeVariantBstr(site)});
}
std::string CTessel::GetItemLinks() {
    return dispatch.CallText(DISPID_GetItemLinks);
}
void CTessel::ImportSite(const std::string& site) {
    dispatch.CallBool(DISPID_ImportSite, {MakeVariantBstr(site)});
}
void CTessel::ExportJSON(const std::string& path) {
    dispatch.CallBool(DISPID_ExportJSON, {MakeVariantBstr(path)});
}
void CTessel::ImportJSON(const std::string& path) {
    dispatch.CallBool(DISPID_ImportJSON, {MakeVariantBstr(path)});
}
void CTessel::SetConfigSelection(const std::string& node) {
    dispatch.SetPropertyText(DISPID_ConfigSelection, node);
}

std::string CTessel::GetHTMLBody(int segment, int kind) {
    return dispatch.CallText(DISPID_GetHTMLBody, {IndexArg(segment), IndexArg(kind)});
}
int CTessel::GetResourceNumber() {
    return dispatch.CallInt(DISPID_GetResourceNumber);
}
std::string CTessel::GetResourceName(int index) {
    return CallIndexText(DISPID_GetResourceName, index);
}
std::string CTessel::GetResourceLocalPath(int index) {
    return CallIndexText(DISPID_GetResourceLocalPath, index);
}
std::string CTessel::GetResourceWebPath(int index) {
    return CallIndexText(DISPID_GetResourceWebPath, index);
}

std::string CTessel::GetLastReadDamage() {
    return dispatch.CallText(DISPID_LastReadDamage);
}
std::string CTessel::GetLastError() {
    return dispatch.CallText(DISPID_LastError);
}
std::string CTessel::GetLastCopyFailures() {
    return dispatch.CallText(DISPID_LastCopyFailures);
}
std::string CTessel::GetWorkingDocument() {
    return dispatch.CallText(DISPID_GetWorkingDocument);
}
bool CTessel::ReadRecoveryFile(const std::string& path) {
    return dispatch.CallBool(DISPID_ReadRecoveryFile, {MakeVariantBstr(path)});
}

std::string CTessel::CallIndexText(DISPID id, int index) {
    return dispatch.CallText(id, {IndexArg(index)});
}
