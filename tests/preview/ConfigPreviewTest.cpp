// The configuration dialog's live preview: the pane follows what is typed and done in the
// dialog, picks go both ways, and Cancel still restores everything.
#include "ConfigDialogFixture.h"
#include "PagesFixture.h"
#include "PreviewProbe.h"

#include "CConfigPreview.h"
#include "CFurlin.h"

#include <QDir>
#include <QImage>
#include <QLayout>
#include <QSettings>
#include <QWebEngineView>

namespace {

const char* const kFixture = FOLDLINE_SOURCE_DIR "/tests/e2e/fixtures/three-level.tsl";

QTreeWidgetItem* NodeLabelled(CDlgConfig& dialog, const QString& label) {
    const auto found = dialog.Tree()->findItems(label, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

QString IdOf(const QTreeWidgetItem* node) {
    return CConfigPreview::NodeId(CDlgConfig::PathOf(node));
}

class ConfigPreviewTest : public PagesTest {
protected:
    void SetUp() override {
        PagesTest::SetUp();
        CConfigPreview::Profile()->clear();
        ASSERT_TRUE(m_object->ReadConfigFile(kFixture));
    }
    static void TurnPaneOn(bool on) {
        CConfigPreview::Profile()->setValue(CConfigPreview::kShownKey, on);
    }
    // Shows the dialog with the pane and waits until the pane draws the widget.
    static CLivePreview* ShowWithPane(CDlgConfig& dialog) {
        dialog.show();
        CLivePreview* pane = dialog.LivePreview();
        EXPECT_NE(pane, nullptr);
        if (!pane || !probe::WaitReady(*pane)) {
            ADD_FAILURE() << "pane not ready: " << (pane ? pane->Problem().toStdString() : "");
            return nullptr;
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return pane->RenderCount() >= 1; }, probe::kTimeoutMs));
        return pane;
    }
};

TEST_F(ConfigPreviewTest, ThePaneIsShownUntilTheAuthorHidesIt) {
    CDlgConfig dialog;
    EXPECT_TRUE(dialog.LivePreviewToggle()->isChecked());
    EXPECT_NE(dialog.LivePreview(), nullptr);
}

TEST_F(ConfigPreviewTest, WithThePaneHiddenNoEngineStartsAndTheChoiceAndSizeAreKept) {
    TurnPaneOn(false);
    Configure([&](CDlgConfig& dialog) -> bool {
        dialog.show();
        QTest::qWait(100);
        EXPECT_FALSE(dialog.LivePreviewToggle()->isChecked());
        EXPECT_EQ(dialog.LivePreviewToggle()->text(), "Live Preview");
        EXPECT_EQ(dialog.LivePreview(), nullptr);
        EXPECT_TRUE(dialog.findChildren<QWebEngineView*>().isEmpty());

        dialog.layout()->activate();
        const int narrow = dialog.width();
        dialog.LivePreviewToggle()->setChecked(true);
        EXPECT_NE(dialog.LivePreview(), nullptr);
        EXPECT_GT(dialog.width(), narrow);
        EXPECT_TRUE(CConfigPreview::Profile()->value(CConfigPreview::kShownKey).toBool());
        dialog.LivePreviewToggle()->setChecked(false);
        EXPECT_EQ(dialog.LivePreview(), nullptr);
        EXPECT_TRUE(dialog.findChildren<QWebEngineView*>().isEmpty());
        EXPECT_EQ(dialog.width(), narrow);
        EXPECT_FALSE(CConfigPreview::Profile()->value(CConfigPreview::kShownKey).toBool());

        dialog.resize(dialog.width() + 37, dialog.height() + 11);
        dialog.reject();
        return false;
    });
    const QSize kept = CConfigPreview::Profile()->value(CConfigPreview::kSizeKey).toSize();
    ASSERT_TRUE(kept.isValid());
    CDlgConfig next;
    EXPECT_EQ(next.size(), kept);
    EXPECT_FALSE(next.LivePreviewToggle()->isChecked());
    TurnPaneOn(true);
    CDlgConfig withPane;
    EXPECT_TRUE(withPane.LivePreviewToggle()->isChecked());
    EXPECT_NE(withPane.LivePreview(), nullptr);
}

TEST_F(ConfigPreviewTest, TypingEditingAndCancelShowInThePaneButLeaveTheWidgetAlone) {
    TurnPaneOn(true);
    const std::string before = Dump(Model());
    const bool accepted = Configure([&](CDlgConfig& dialog) -> bool {
        CLivePreview* pane = ShowWithPane(dialog);
        if (!pane)
            return false;
        EXPECT_EQ(probe::Text(*pane, probe::kItemCount), "8");
        QTreeWidgetItem* home = NodeLabelled(dialog, "Home");
        EXPECT_NE(home, nullptr);
        dialog.SelectNode(home);

        // A label typed on the page: in the pane before anything is stored.
        Field<QPlainTextEdit>(ItemTab(dialog, "General"), "Item Label:")->setPlainText("Start");
        EXPECT_EQ(probe::WaitFor(*pane, probe::LabelOf(IdOf(home)), "Start"), "Start");
        EXPECT_EQ(CDlgConfig::ItemOf(home)->Label, "Home");

        // Insert, Delete and Visible change what the pane holds.
        dialog.OnInsert();
        EXPECT_EQ(probe::WaitFor(*pane, probe::kItemCount, "9"), "9");
        dialog.OnDelete();
        EXPECT_EQ(probe::WaitFor(*pane, probe::kItemCount, "8"), "8");
        dialog.SelectNode(NodeLabelled(dialog, "Gadgets"));
        dialog.OnVisible();
        EXPECT_EQ(probe::WaitFor(*pane, probe::kItemCount, "7"), "7");
        // The label typed before the commands was stored by them, and is drawn.
        EXPECT_EQ(probe::Text(*pane, probe::LabelOf(IdOf(home))), "Start");
        dialog.reject();
        return false;
    });
    EXPECT_FALSE(accepted);
    EXPECT_EQ(Dump(Model()), before);
}

TEST_F(ConfigPreviewTest, APickInThePaneSelectsItsNodeAndTheTreeSelectionOpensInThePane) {
    TurnPaneOn(true);
    Configure([&](CDlgConfig& dialog) -> bool {
        CLivePreview* pane = ShowWithPane(dialog);
        if (!pane)
            return false;
        QTreeWidgetItem* blue = NodeLabelled(dialog, "Blue widget");
        QTreeWidgetItem* widgets = NodeLabelled(dialog, "Widgets");
        EXPECT_TRUE(blue && widgets);
        if (!blue || !widgets)
            return false;

        // Selecting a node deep in the tree opens its branch in the pane.
        const QString open = QStringLiteral("String(!!document.querySelector('#furlin-pane "
                                            "li[data-furlin-node=\"%1\"] [aria-expanded=true]'))")
                                 .arg(IdOf(widgets));
        EXPECT_EQ(probe::Text(*pane, open), "false");
        dialog.SelectNode(blue);
        EXPECT_EQ(probe::WaitFor(*pane, open, "true"), "true");

        // A pick naming no node (a page's own event, a stale identifier) changes nothing.
        for (const char* stray : {"9.9", "0.x", "", "-1", "0..1"})
            probe::Text(*pane, QStringLiteral("document.dispatchEvent(new CustomEvent("
                                              "'furlin-pick', {detail: {node: '%1'}})), 'sent'")
                                   .arg(QLatin1String(stray)));
        QTest::qWait(100);
        EXPECT_EQ(dialog.SelectedNode(), blue);

        // A click in the pane selects the node and shows its pages, and follows no link.
        QTreeWidgetItem* about = NodeLabelled(dialog, "About");
        EXPECT_NE(about, nullptr);
        probe::Text(*pane, QStringLiteral("document.querySelector('#furlin-pane "
                                          "li[data-furlin-node=\"%1\"] a').click(), 'clicked'")
                               .arg(IdOf(about)));
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return dialog.SelectedNode() == about; }, probe::kTimeoutMs));
        EXPECT_EQ(dialog.CurrentSheet(), dialog.ItemSheet());
        EXPECT_FALSE(dialog.ItemSheet()->isHidden());
        EXPECT_EQ(probe::Text(*pane, QStringLiteral("String(!!document.getElementById("
                                                    "'furlin-pane'))")),
                  "true");

        // The dialog with the three-level widget, kept for people to look at.
        const QString folder = QStringLiteral(FOLDLINE_BUILD_DIR "/artifacts");
        QDir().mkpath(folder);
        dialog.SelectNode(blue);
        probe::WaitFor(*pane, open, "true");
        QTest::qWait(300);
        EXPECT_TRUE(dialog.grab().toImage().save(folder + "/live-preview-dialog.png"));
        return PressOk(dialog);
    });
}

// What the tree selects is opened, scrolled into view and marked in the pane; a click on a
// linked parent's label in the pane selects it and opens its sub-menu there.
TEST_F(ConfigPreviewTest, TheSelectionIsMarkedAndInViewAndALinkedParentsLabelOpensIt) {
    TurnPaneOn(true);
    CFurlin* first = Model().Menus()[0].get();
    first->GetItem(1)->Link = "products.html";
    for (int i = 0; i < 40; ++i)
        AppendItem(*first)->Label = "Extra " + std::to_string(i);
    Configure([&](CDlgConfig& dialog) -> bool {
        CLivePreview* pane = ShowWithPane(dialog);
        if (!pane)
            return false;
        // The last item lies far below the pane's view until it is selected.
        QTreeWidgetItem* last = NodeLabelled(dialog, "Extra 39");
        QTreeWidgetItem* products = NodeLabelled(dialog, "Products");
        EXPECT_TRUE(last && products);
        if (!last || !products)
            return false;
        const QString shown =
            QStringLiteral("(function (id) {"
                           " var li = document.querySelector('#furlin-pane li[data-furlin-node=\"'"
                           " + id + '\"]');"
                           " var c = li && li.querySelector(':scope > .furlin-item');"
                           " if (!c) return 'none';"
                           " var r = c.getBoundingClientRect();"
                           " return r.top >= -1 && r.bottom <= window.innerHeight + 1"
                           "     ? c.getAttribute('data-state') : 'out'; })('%1')")
                .arg(IdOf(last));
        EXPECT_EQ(probe::WaitFor(*pane, shown, "out"), "out"); // once the pane has drawn it
        dialog.SelectNode(last);
        EXPECT_EQ(probe::WaitFor(*pane, shown, "click"), "click");

        const QString li =
            QStringLiteral("document.querySelector('#furlin-pane li[data-furlin-node=\"%1\"]')")
                .arg(IdOf(products));
        const QString open = QStringLiteral("String(!!%1.querySelector(':scope > "
                                            "[aria-expanded=true]'))")
                                 .arg(li);
        EXPECT_EQ(probe::Text(*pane, open), "false");
        probe::Text(*pane, li + QStringLiteral(".querySelector(':scope > a').click(), 'clicked'"));
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return dialog.SelectedNode() == products; }, probe::kTimeoutMs));
        EXPECT_EQ(probe::WaitFor(*pane, open, "true"), "true");
        // What opens and closes the sub-menu still closes it, and it stays closed.
        probe::Text(*pane,
                    li + QStringLiteral(".querySelector(':scope > [aria-expanded]').click(), 'x'"));
        QTest::qWait(200);
        EXPECT_EQ(probe::Text(*pane, open), "false");
        EXPECT_EQ(dialog.SelectedNode(), products);
        return false;
    });
}

TEST(ConfigPreviewNodeIdTest, NamesTreePathsAndRefusesAnythingElse) {
    TreePath path;
    EXPECT_TRUE(CConfigPreview::ParseNodeId(QStringLiteral("0.3.1"), path));
    EXPECT_EQ(path, (TreePath{0, 3, 1}));
    EXPECT_EQ(CConfigPreview::NodeId(path), "0.3.1");
    EXPECT_EQ(CConfigPreview::NodeId({}), "");
    for (const char* bad : {"", ".", "0.", "0..1", "-1", "a", "1.b", "99999999999"})
        EXPECT_FALSE(CConfigPreview::ParseNodeId(QString::fromLatin1(bad), path)) << bad;
}

} // namespace
