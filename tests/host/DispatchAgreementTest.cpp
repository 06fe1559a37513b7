// The program, the tools and the component must mean the same member by each dispatch identifier:
// the program calls by the shared header's identifiers, the component answers names from its own
// table, and tessel-call resolves names through the component.
#include "CTessel.h"
#include "FoldlineDispatch.h"
#include "HostTestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <functional>
#include <set>
#include <vector>

namespace {

struct Member {
    const char* name;
    DISPID id;
};

// Every member of the interface by name, beside the identifier the shared header gives it.
const Member kInterface[] = {
    {"ProgID", DISPID_ProgID},
    {"Title", DISPID_Title},
    {"Description", DISPID_Description},
    {"BitmapFileName", DISPID_BitmapFileName},
    {"PreviewPath", DISPID_PreviewPath},
    {"LastUpdateTime", DISPID_LastUpdateTime},
    {"ReadConfigFile", DISPID_ReadConfigFile},
    {"WriteConfigFile", DISPID_WriteConfigFile},
    {"Config", DISPID_Config},
    {"GetTesselTypeID", DISPID_GetTesselTypeID},
    {"GetTesselNameID", DISPID_GetTesselNameID},
    {"GetMenuTextID", DISPID_GetMenuTextID},
    {"GetMessageTextID", DISPID_GetMessageTextID},
    {"GetTipsTextID", DISPID_GetTipsTextID},
    {"GetIconID", DISPID_GetIconID},
    {"GetHTMLSegmentNumber", DISPID_GetHTMLSegmentNumber},
    {"GetHTMLPosition", DISPID_GetHTMLPosition},
    {"GetHTMLBody", DISPID_GetHTMLBody},
    {"GetResourceInstance", DISPID_GetResourceInstance},
    {"GetResourceNumber", DISPID_GetResourceNumber},
    {"GetResourceName", DISPID_GetResourceName},
    {"GetResourceLocalPath", DISPID_GetResourceLocalPath},
    {"GetResourceWebPath", DISPID_GetResourceWebPath},
    {"GetResourceLocalPathByName", DISPID_GetResourceLocalPathByName},
    {"GetResourceWebPathByName", DISPID_GetResourceWebPathByName},
    {"SetResourceLocalPath", DISPID_SetResourceLocalPath},
    {"PublishToSite", DISPID_PublishToSite},
    {"CheckLinks", DISPID_CheckLinks},
    {"GetItemLinks", DISPID_GetItemLinks},
    {"ImportSite", DISPID_ImportSite},
    {"ExportJSON", DISPID_ExportJSON},
    {"ImportJSON", DISPID_ImportJSON},
    {"ConfigSelection", DISPID_ConfigSelection},
    {"LastReadDamage", DISPID_LastReadDamage},
    {"LastError", DISPID_LastError},
    {"LastCopyFailures", DISPID_LastCopyFailures},
    {"GetWorkingDocument", DISPID_GetWorkingDocument},
    {"ReadRecoveryFile", DISPID_ReadRecoveryFile},
};

struct RecordedCall {
    DISPID id = DISPID_UNKNOWN;
    WORD flags = 0;
    std::vector<VARIANT> args; // natural order
};

// Stands in for the component: records each call and answers it with a number, which every
// typed call of the program can read.
class CRecordingDispatch final : public IDispatch {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (riid != IID_IUnknown && riid != IID_IDispatch)
            return E_NOINTERFACE;
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override { return --m_refs; } // lives on the test's stack
    HRESULT GetIDsOfNames(REFIID, const LPCOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO*, UINT*) override {
        RecordedCall call;
        call.id = id;
        call.flags = flags;
        for (UINT i = params ? params->cArgs : 0; i > 0; --i)
            call.args.push_back(params->rgvarg[i - 1]);
        calls.push_back(call);
        if (result)
            *result = MakeVariantI4(0);
        return S_OK;
    }

    std::vector<RecordedCall> calls;

private:
    ULONG m_refs = 1;
};

} // namespace

class DispatchAgreementTest : public HostTest {};

TEST_F(DispatchAgreementTest, EveryNameMeansTheHeadersIdentifierInTheComponentAndTesselCall) {
    REQUIRE_COMPONENT();
    CTessel widget;
    ASSERT_TRUE(widget.Create(kFoldlineProgID));
    std::set<DISPID> distinct;
    QByteArray questions;
    for (const Member& member : kInterface) {
        EXPECT_EQ(widget.dispatch.GetIDOfName(member.name), member.id) << member.name;
        distinct.insert(member.id);
        questions += QByteArray("[\"") + member.name + "?\"]\n";
    }
    EXPECT_EQ(distinct.size(), std::size(kInterface));

    QProcess tool;
    tool.start(QString::fromUtf8(qgetenv("FOLDLINE_BUILD_DIR")) + "/bin/tessel-call");
    ASSERT_TRUE(tool.waitForStarted());
    tool.write(questions);
    tool.closeWriteChannel();
    ASSERT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QList<QByteArray> answers = tool.readAllStandardOutput().split('\n');
    ASSERT_GE(answers.size(), static_cast<qsizetype>(std::size(kInterface)));
    for (std::size_t i = 0; i < std::size(kInterface); ++i)
        EXPECT_EQ(answers[static_cast<qsizetype>(i)].toInt(), kInterface[i].id)
            << kInterface[i].name;
}

TEST_F(DispatchAgreementTest, EveryCallOfTheProgramReachesTheMemberItIsNamedFor) {
    REQUIRE_COMPONENT();
    CTessel component;
    ASSERT_TRUE(component.Create(kFoldlineProgID));
    const std::string scratch = TempPath("scratch.tsl").toStdString();
    const std::string site = TempPath("site").toStdString();
    const std::string json = TempPath("menu.json").toStdString();
    ASSERT_TRUE(QDir().mkpath(TempPath("site")));
    WriteText(TempPath("site/index.html"), "<title>Home</title>");

    // Each typed call of the program beside the member it is meant to reach.
    const std::vector<std::pair<const char*, std::function<void(CTessel&)>>> calls = {
        {"ProgID", [](CTessel& w) { w.GetProgID(); }},
        {"ProgID", [](CTessel& w) { w.SetProgID("P"); }},
        {"Title", [](CTessel& w) { w.GetTitle(); }},
        {"Title", [](CTessel& w) { w.SetTitle("T"); }},
        {"Description", [](CTessel& w) { w.GetDescription(); }},
        {"Description", [](CTessel& w) { w.SetDescription("D"); }},
        {"PreviewPath", [](CTessel& w) { w.GetPreviewPath(); }},
        {"PreviewPath", [](CTessel& w) { w.SetPreviewPath("p/"); }},
        {"LastUpdateTime", [](CTessel& w) { w.SetLastUpdateTime(36487.5); }},
        {"ReadConfigFile", [](CTessel& w) { w.ReadConfigFile("/no/such/file.tsl"); }},
        {"WriteConfigFile", [scratch](CTessel& w) { w.WriteConfigFile(scratch); }},
        {"Config", [](CTessel& w) { w.Config(); }},
        {"GetResourceInstance", [](CTessel& w) { w.GetResourceInstance(); }},
        {"GetTesselTypeID", [](CTessel& w) { w.GetTesselTypeID(); }},
        {"GetTesselNameID", [](CTessel& w) { w.GetTesselNameID(); }},
        {"GetMessageTextID", [](CTessel& w) { w.GetMessageTextID(); }},
        {"GetMenuTextID", [](CTessel& w) { w.GetMenuTextID(); }},
        {"GetHTMLSegmentNumber", [](CTessel& w) { w.GetHTMLSegmentNumber(); }},
        {"GetHTMLPosition", [](CTessel& w) { w.GetHTMLPosition(0); }},
        {"GetHTMLBody", [](CTessel& w) { w.GetHTMLBody(0, 1); }},
        {"GetResourceNumber", [](CTessel& w) { w.GetResourceNumber(); }},
        {"GetResourceName", [](CTessel& w) { w.GetResourceName(0); }},
        {"GetResourceLocalPath", [](CTessel& w) { w.GetResourceLocalPath(0); }},
        {"GetResourceWebPath", [](CTessel& w) { w.GetResourceWebPath(0); }},
        {"PublishToSite", [site](CTessel& w) { w.PublishToSite(site, true); }},
        {"CheckLinks", [site](CTessel& w) { w.CheckLinks(site); }},
        {"GetItemLinks", [](CTessel& w) { w.GetItemLinks(); }},
        {"ImportSite", [site](CTessel& w) { w.ImportSite(site); }},
        {"ExportJSON", [json](CTessel& w) { w.ExportJSON(json); }},
        {"ImportJSON", [json](CTessel& w) { w.ImportJSON(json); }},
        {"ConfigSelection", [](CTessel& w) { w.SetConfigSelection("0.0"); }},
        {"LastReadDamage", [](CTessel& w) { w.GetLastReadDamage(); }},
        {"LastError", [](CTessel& w) { w.GetLastError(); }},
        {"LastCopyFailures", [](CTessel& w) { w.GetLastCopyFailures(); }},
        {"GetWorkingDocument", [](CTessel& w) { w.GetWorkingDocument(); }},
        {"ReadRecoveryFile", [](CTessel& w) { w.ReadRecoveryFile("/no/such/file.tsl"); }},
    };
    for (const auto& [name, call] : calls) {
        CRecordingDispatch recorder;
        CTessel driven;
        driven.dispatch.AttachDispatch(&recorder);
        call(driven);
        driven.dispatch.ReleaseDispatch();
        ASSERT_EQ(recorder.calls.size(), 1u) << name;
        const RecordedCall& made = recorder.calls.front();
        EXPECT_EQ(made.id, component.dispatch.GetIDOfName(name)) << name;
        // The component accepts the call as made: its kind and its arguments. Config would
        // open the configuration dialog.
        if (made.id == DISPID_Config)
            continue;
        VARIANT result;
        EXCEPINFO excep;
        EXPECT_EQ(component.dispatch.TryInvoke(made.id, made.flags, made.args, &result, &excep),
                  S_OK)
            << name;
    }
}

// The members beyond the family's interface are described where callers look for them: in
// tessel-call's help and on the help page, each with its identifier.
TEST_F(DispatchAgreementTest, MembersBeyondTheInterfaceAreListedInBothHelps) {
    QProcess tool;
    tool.start(QString::fromUtf8(qgetenv("FOLDLINE_BUILD_DIR")) + "/bin/tessel-call", {"--help"});
    ASSERT_TRUE(tool.waitForFinished(60000));
    const QString toolHelp = QString::fromUtf8(tool.readAllStandardOutput());
    QFile page(QStringLiteral(FOLDLINE_SOURCE_DIR "/data/help/index.html"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QString pageHelp = QString::fromUtf8(page.readAll());
    for (const Member& member : kInterface) {
        if (member.id <= DISPID_SetResourceLocalPath)
            continue;
        const QString listed = QStringLiteral("%1 (%2)").arg(member.name).arg(member.id);
        EXPECT_TRUE(toolHelp.contains(listed)) << member.name;
        EXPECT_TRUE(pageHelp.contains(
            QStringLiteral("<code>%1</code> (%2)").arg(member.name).arg(member.id)))
            << member.name;
    }
}
