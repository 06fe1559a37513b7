// The live preview pane on its own: a real web engine offscreen drawing markup with the runtime
// beside the component, and every way it can fail.
#include "PreviewProbe.h"

#include "CAppletParameters.h"
#include "CFurlin.h"
#include "PreviewMarkup.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/types.h>

namespace {

// Menu: a (branch: a1, a2 (branch: a2x)), b.
std::string SampleMarkup(const std::string& firstLabel) {
    CAppletParameters model;
    model.AddMenu(std::make_unique<CFurlin>(), false);
    CFurlin* menu = model.Menus().back().get();
    auto add = [](CFurlin& into, const std::string& label, const std::string& link) {
        auto item = std::make_unique<CFurlinItem>();
        item->Label = label;
        item->Link = link;
        CFurlinItem* raw = item.get();
        into.AddItem(std::move(item), false);
        return raw;
    };
    CFurlinItem* a = add(*menu, firstLabel, "");
    add(*a->GetSubMenu(), "a1", "a1.html");
    CFurlinItem* a2 = add(*a->GetSubMenu(), "a2", "");
    add(*a2->GetSubMenu(), "a2x", "a2x.html");
    add(*menu, "b", "b.html");
    return PreviewMarkup(model, true);
}

class LivePreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        pane = std::make_unique<CLivePreview>();
        pane->SetRuntimeFolder(QStringLiteral(FOLDLINE_COMPONENT_DIR));
        pane->resize(400, 400);
    }
    // The branch of a node is open in the pane.
    std::string Expanded(const QString& node) {
        return probe::Text(*pane,
                           QStringLiteral("(function () { var li = document.querySelector("
                                          "'#furlin-pane li[data-furlin-node=\"%1\"]');"
                                          " var d = li && li.querySelector('[aria-expanded]');"
                                          " return d ? d.getAttribute('aria-expanded') : "
                                          "'(none)'; })()")
                               .arg(node));
    }
    void ExpectUnavailable(const QString& reasonPart) {
        EXPECT_TRUE(pane->IsUnavailable());
        EXPECT_FALSE(pane->IsReady());
        const QString shown = pane->MessageLabel()->text();
        EXPECT_TRUE(shown.startsWith(QStringLiteral("Live preview is not available.\n")))
            << shown.toStdString();
        EXPECT_TRUE(shown.contains(reasonPart)) << shown.toStdString();
        EXPECT_TRUE(pane->MessageLabel()->isVisibleTo(pane.get()));
    }

    std::unique_ptr<CLivePreview> pane;
};

TEST_F(LivePreviewTest, DrawsInPlaceKeepsOpenBranchesAndReportsPicksWithoutFollowingLinks) {
    QSignalSpy picks(pane.get(), &CLivePreview::Picked);
    // Markup given before the engine has started is drawn once it is ready.
    pane->ShowMarkup(QString::fromStdString(SampleMarkup("a")));
    EXPECT_EQ(pane->View(), nullptr);
    pane->show();
    ASSERT_TRUE(probe::WaitReady(*pane)) << pane->Problem().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane->RenderCount() >= 1; }, probe::kTimeoutMs));
    EXPECT_EQ(probe::Text(*pane, probe::kItemCount), "5");
    // Screen readers name the pane and the view in it that takes the focus.
    for (QWidget* named : {static_cast<QWidget*>(pane.get()), static_cast<QWidget*>(pane->View())})
        EXPECT_EQ(QAccessible::queryAccessibleInterface(named)->text(QAccessible::Name),
                  "Live preview");

    pane->Reveal(QStringLiteral("0.0.1.0"));
    EXPECT_EQ(probe::WaitFor(*pane,
                             QStringLiteral("String(!!document.querySelector("
                                            "'[data-furlin-node=\"0.0.1\"] "
                                            "[aria-expanded=true]'))"),
                             "true"),
              "true");
    EXPECT_EQ(Expanded("0.0"), "true");
    EXPECT_EQ(probe::Text(*pane, probe::LabelOf("0.0.1.0")), "a2x");

    // New markup replaces the widget without reloading the page; the open branches stay open.
    probe::Text(*pane, QStringLiteral("window.probeMark = 'kept'"));
    const int before = pane->RenderCount();
    pane->ShowMarkup(QString::fromStdString(SampleMarkup("renamed")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane->RenderCount() > before; }, probe::kTimeoutMs));
    EXPECT_EQ(probe::Text(*pane, probe::LabelOf("0.0")), "renamed");
    EXPECT_EQ(probe::Text(*pane, QStringLiteral("String(window.probeMark)")), "kept");
    EXPECT_EQ(Expanded("0.0"), "true");
    EXPECT_EQ(Expanded("0.0.1"), "true");

    // A click on a link picks its item and stays on the page.
    probe::Text(*pane, QStringLiteral("document.querySelector('[data-furlin-node=\"0.1\"] a')"
                                      ".click(), 'clicked'"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return picks.size() >= 1; }, probe::kTimeoutMs));
    EXPECT_EQ(picks.first().first().toString().toStdString(), "0.1");
    // Nothing a page's script asks for leaves the page or opens another.
    probe::Text(*pane, QStringLiteral("window.open('b.html'); location.href = 'b.html'; 'asked'"));
    QTest::qWait(200);
    EXPECT_EQ(probe::Text(*pane, QStringLiteral("String(window.probeMark)")), "kept");
    EXPECT_EQ(picks.size(), 1);
    EXPECT_FALSE(pane->IsUnavailable());
}

TEST_F(LivePreviewTest, BurstsOfMarkupEndWithTheLastOne) {
    pane->show();
    ASSERT_TRUE(probe::WaitReady(*pane)) << pane->Problem().toStdString();
    for (int i = 0; i < 20; ++i)
        pane->ShowMarkup(QString::fromStdString(SampleMarkup("v" + std::to_string(i))));
    EXPECT_EQ(probe::WaitFor(*pane, probe::LabelOf("0.0"), "v19"), "v19");
    QTest::qWait(50);
    // Markup that arrived while one was drawn waits for it and replaces what waited before.
    EXPECT_LE(pane->RenderCount(), 3);
    EXPECT_EQ(probe::Text(*pane, probe::LabelOf("0.0")), "v19");
}

TEST_F(LivePreviewTest, AMissingRuntimeOrEngineHelperIsReportedWithoutStartingTheEngine) {
    QTemporaryDir empty;
    pane->SetRuntimeFolder(empty.path());
    pane->Start();
    ExpectUnavailable(QStringLiteral("furlin.js was not found"));
    EXPECT_EQ(pane->View(), nullptr);
    pane->ShowMarkup(QStringLiteral("<nav></nav>"));
    pane->Reveal(QStringLiteral("0.0"));

    const QByteArray saved = qgetenv("QTWEBENGINEPROCESS_PATH");
    qputenv("QTWEBENGINEPROCESS_PATH", empty.filePath("QtWebEngineProcess").toUtf8());
    EXPECT_FALSE(CLivePreview::EngineProblem().isEmpty());
    pane = std::make_unique<CLivePreview>();
    pane->SetRuntimeFolder(QStringLiteral(FOLDLINE_COMPONENT_DIR));
    pane->Start();
    if (saved.isNull())
        qunsetenv("QTWEBENGINEPROCESS_PATH");
    else
        qputenv("QTWEBENGINEPROCESS_PATH", saved);
    ExpectUnavailable(QStringLiteral("helper program"));
    EXPECT_EQ(pane->View(), nullptr);
    EXPECT_TRUE(CLivePreview::EngineProblem().isEmpty());
}

TEST_F(LivePreviewTest, ARenderProcessThatDiesLeavesTheReason) {
    pane->ShowMarkup(QString::fromStdString(SampleMarkup("a")));
    pane->show();
    ASSERT_TRUE(probe::WaitReady(*pane)) << pane->Problem().toStdString();
    const qint64 pid = pane->View()->page()->renderProcessPid();
    ASSERT_GT(pid, 0);
    ASSERT_EQ(::kill(static_cast<pid_t>(pid), SIGKILL), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane->IsUnavailable(); }, probe::kTimeoutMs));
    ExpectUnavailable(QStringLiteral("render process"));
    EXPECT_FALSE(pane->View()->isVisible());
    // Later markup and reveals are dropped quietly.
    pane->ShowMarkup(QString::fromStdString(SampleMarkup("b")));
    pane->Reveal(QStringLiteral("0.0"));
    QTest::qWait(50);
    EXPECT_TRUE(pane->IsUnavailable());
}

// The width buttons and "Right to Left" draw the widget again as a phone, a tablet or the pane
// shows it, keep its open branches, and are what the next pane starts with.
TEST_F(LivePreviewTest, WidthButtonsAndRightToLeftDrawTheWidgetAsThoseScreensShowIt) {
    QSettings().remove(QStringLiteral("Live Preview"));
    pane = std::make_unique<CLivePreview>();
    pane->SetRuntimeFolder(QStringLiteral(FOLDLINE_COMPONENT_DIR));
    pane->resize(900, 400);
    for (int width :
         {CLivePreview::kPhoneWidth, CLivePreview::kTabletWidth, CLivePreview::kFullWidth})
        ASSERT_NE(pane->WidthButton(width), nullptr) << width;
    EXPECT_EQ(pane->WidthButton(CLivePreview::kPhoneWidth)->text(), "Phone");
    EXPECT_EQ(pane->WidthButton(CLivePreview::kTabletWidth)->text(), "Tablet");
    EXPECT_EQ(pane->WidthButton(CLivePreview::kFullWidth)->text(), "Full");
    EXPECT_EQ(pane->RightToLeftBox()->text(), "Right to Left");
    EXPECT_TRUE(pane->WidthButton(CLivePreview::kFullWidth)->isChecked());

    pane->ShowMarkup(QString::fromStdString(SampleMarkup("a")));
    pane->show();
    ASSERT_TRUE(probe::WaitReady(*pane)) << pane->Problem().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane->RenderCount() >= 1; }, probe::kTimeoutMs));
    const QString state = QStringLiteral(
        "(function () { var pane = document.getElementById('furlin-pane');"
        " var nav = pane.querySelector('nav.furlin');"
        " return Math.round(pane.getBoundingClientRect().width) + ' ' +"
        " (nav.classList.contains('furlin-compact') ? 'compact' : 'wide') + ' ' +"
        " (nav.classList.contains('furlin-rtl') ? 'rtl' : 'ltr') + ' ' +"
        " (pane.querySelector('li[data-furlin-node=\"0.0.0\"]').closest('[hidden]') ? '-' : 'a1');"
        " })()");
    // Wider than the widget folds at, with a branch open.
    probe::Text(*pane, QStringLiteral("Furlin.reveal(document.querySelector('nav'), '0.0.0')"));
    QTest::qWait(200);
    const std::string full = probe::Text(*pane, state);
    EXPECT_GT(std::stoi(full), 640) << full;
    EXPECT_EQ(full.substr(full.find(' ')), " wide ltr a1");

    // A phone folds the menu, which the preview keeps open to pick from.
    int renders = pane->RenderCount();
    pane->WidthButton(CLivePreview::kPhoneWidth)->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane->RenderCount() > renders; }, probe::kTimeoutMs));
    EXPECT_EQ(pane->ShownWidth(), CLivePreview::kPhoneWidth);
    EXPECT_EQ(probe::WaitFor(*pane, state, "360 compact ltr a1"), "360 compact ltr a1");
    EXPECT_EQ(probe::Text(*pane, QStringLiteral("String(document.querySelector("
                                                "'.furlin-menu-button').getAttribute("
                                                "'aria-expanded'))")),
              "true");

    renders = pane->RenderCount();
    pane->WidthButton(CLivePreview::kTabletWidth)->click();
    pane->RightToLeftBox()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane->RenderCount() > renders; }, probe::kTimeoutMs));
    EXPECT_EQ(probe::WaitFor(*pane, state, "768 wide rtl a1"), "768 wide rtl a1");

    // The next pane starts as this one was left.
    CLivePreview next;
    EXPECT_EQ(next.ShownWidth(), CLivePreview::kTabletWidth);
    EXPECT_TRUE(next.WidthButton(CLivePreview::kTabletWidth)->isChecked());
    EXPECT_TRUE(next.RightToLeft());
    EXPECT_TRUE(next.RightToLeftBox()->isChecked());
    QSettings().remove(QStringLiteral("Live Preview"));

    // A host with a profile of its own keeps the choices there, not in the application's.
    QTemporaryDir folder;
    const QString ini = folder.filePath(QStringLiteral("host.ini"));
    auto hostProfile = [ini] { return std::make_unique<QSettings>(ini, QSettings::IniFormat); };
    CLivePreview hosted(nullptr, hostProfile);
    EXPECT_EQ(hosted.ShownWidth(), CLivePreview::kFullWidth);
    hosted.WidthButton(CLivePreview::kPhoneWidth)->click();
    EXPECT_EQ(hostProfile()->value(QStringLiteral("Live Preview/Width")).toInt(),
              CLivePreview::kPhoneWidth);
    EXPECT_FALSE(QSettings().contains(QStringLiteral("Live Preview/Width")));
    EXPECT_EQ(CLivePreview(nullptr, hostProfile).ShownWidth(), CLivePreview::kPhoneWidth);
}

} // namespace
