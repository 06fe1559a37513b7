// The program's handle on one instance of the widget component, found through the classes root
// by ProgID and driven by late-bound calls. The component library is never linked.
#pragma once

#include "Com.h"
#include "DispatchDriver.h"
#include "Paths.h"

#include <string>
#include <vector>

class CTessel {
public:
    CTessel() = default;
    CTessel(const CTessel&) = delete;
    CTessel& operator=(const CTessel&) = delete;

    // Finds, creates and prepares the instance. False without a message when the class is not
    // registered; with "Create Dispatch of the ... Error!" when the instance cannot be made.
    bool Create(const std::string& progIdToFind);

    // Every ".tsl" file directly in a template folder (host::TemplateFolders: the component
    // folder, and the per-user folder on a read-only install) whose stored ProgID is this
    // component's.
    void ScanTemplates(std::vector<std::string>& titles, std::vector<std::string>& descriptions,
                       std::vector<std::string>& paths);

    bool IsCreated() const { return dispatch.IsValid(); }

    // Typed calls. A failing call throws CDispatchException; commands catch it at their top.
    std::string GetProgID();
    void SetProgID(const std::string& value);
    std::string GetTitle();
    void SetTitle(const std::string& value);
    std::string GetDescription();
    void SetDescription(const std::string& value);
    std::string GetPreviewPath();
    void SetPreviewPath(const std::string& value);
    void SetLastUpdateTime(DATE value);
    bool ReadConfigFile(const std::string& path);
    bool WriteConfigFile(const std::string& path);
    bool Config();
    std::int32_t GetResourceInstance();
    std::int32_t GetTesselTypeID();
    std::int32_t GetTesselNameID();
    std::int32_t GetMessageTextID();
    std::int32_t GetMenuTextID();
    int GetHTMLSegmentNumber();
    std::string GetHTMLPosition(int segment);
    std::string GetHTMLBody(int segment, int kind);
    int GetResourceNumber();
    std::string GetResourceName(int index);
    std::string GetResourceLocalPath(int index);
    std::string GetResourceWebPath(int index);
    // Beyond the family's interface (FoldlineDispatch.h): why a read or write failed, what a read
    // found damaged, the support files a write could not copy, and the recovery pair.
    std::string GetLastReadDamage();
    std::string GetLastError();
    std::string GetLastCopyFailures();
    std::string GetWorkingDocument();
    bool ReadRecoveryFile(const std::string& path);

    // The site work. A failure as a whole throws CDispatchException with the reason; the
    // reports hold a line per page or link in trouble (see the component's members).
    std::string PublishToSite(const std::string& site, bool dryRun);
    std::string CheckLinks(const std::string& site);
    std::string GetItemLinks();
    void ImportSite(const std::string& site);
    void ExportJSON(const std::string& path);
    void ImportJSON(const std::string& path);
    // The node ("0.3.1") the next Config selects when it opens.
    void SetConfigSelection(const std::string& node);

    std::string progId;
    CLSID classId = GUID_NULL;
    CDispatchDriver dispatch;
    std::string componentFolder;
    std::string nameText;
    std::string messageText;
    std::string typeText;
    std::string menuText;
    std::string samplePath;

private:
    std::string CallIndexText(DISPID id, int index);
};

// The current local time as an automation date (days since 30 December 1899).
DATE CurrentLocalDate();
