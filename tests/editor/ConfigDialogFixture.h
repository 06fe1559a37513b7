// The configuration dialog driven offscreen without exec(): a sample model, the dialog and probe
// pages, with every prompt answered by the test.
#pragma once

#include "CAppletParameters.h"
#include "CConfigPreview.h"

#include "CDlgConfig.h"
#include "CEditSession.h"
#include "CFoldline.h"
#include "CFurlin.h"
#include "CIconButton.h"
#include "CPropertySheet.h"
#include "NodeIcons.h"
#include "Prompts.h"
#include <QSettings>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

// Records what the dialog asks of a page and what the bindings hold at that moment.
class ProbePage : public CPropertyPage {
public:
    explicit ProbePage(CEditSession* session) : CPropertyPage("Probe", session) {}
    void EnterPage() override {
        ++enters;
        itemAtEnter = m_session->CurrentItem;
    }
    bool LeavePage() override {
        ++leaves;
        itemAtLeave = m_session->CurrentItem;
        if (onLeave)
            onLeave();
        return true;
    }
    int enters = 0;
    int leaves = 0;
    CFurlinItem* itemAtEnter = nullptr;
    CFurlinItem* itemAtLeave = reinterpret_cast<CFurlinItem*>(1);
    std::function<void()> onLeave;
};

inline CFurlin* AddMenu(CAppletParameters& model, const std::string& name) {
    model.AddMenu(std::make_unique<CFurlin>(), false);
    CFurlin* menu = model.Menus().back().get();
    menu->Name = name;
    return menu;
}

inline CFurlinItem* AddItem(CFurlin* menu, const std::string& label) {
    auto item = std::make_unique<CFurlinItem>();
    item->Label = label;
    CFurlinItem* raw = item.get();
    menu->AddItem(std::move(item), false);
    return raw;
}

// The whole model in byte form, so two states compare exactly.
inline std::string Dump(const CAppletParameters& model) {
    std::string out = model.Name + "|" + std::to_string(model.Width) + "|";
    for (const auto& menu : model.Menus()) {
        CFurlinItem holder;
        holder.SetSubMenu(std::make_unique<CFurlin>(*menu));
        out += holder.ToBytes();
        out += "#";
    }
    return out;
}

inline int Icon(const QTreeWidgetItem* node) {
    return CDlgConfig::NodeIconIndex(node);
}

class ConfigDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        component = new CFoldline;
        session = std::make_unique<CEditSession>(component->Model());
        // The dialogs of these tests start no web engine; the live-preview tests show the pane.
        CConfigPreview::Profile()->setValue(CConfigPreview::kShownKey, false);
        ui::prompts().message = [this](QWidget*, const QString&, const QString& text, ui::Icon) {
            messages.push_back(text);
        };
        ui::prompts().askOkCancel = [this](QWidget*, const QString&, const QString& text,
                                           ui::Icon) {
            questions.push_back(text);
            return answer;
        };
        ui::prompts().askChoice = [this](QWidget*, const QString&, const QString& text,
                                         const QStringList& buttons, int defaultButton) {
            choices.push_back(text);
            choiceButtons = buttons;
            choiceDefault = defaultButton;
            return choiceAnswer;
        };
        QGuiApplication::clipboard()->clear();
    }
    void TearDown() override {
        dialog.reset();
        session.reset();
        component->Release();
        ui::resetPrompts();
        QGuiApplication::clipboard()->clear();
    }

    CAppletParameters& Model() { return component->Model(); }

    // Root
    //   Alpha: a1 (branch: a1x, a1y), a2 (leaf)
    //   Beta (hidden): b1 (leaf, hidden)
    void BuildSample() {
        CFurlin* alpha = AddMenu(Model(), "Alpha");
        a1 = AddItem(alpha, "a1");
        a1x = AddItem(a1->GetSubMenu(), "a1x");
        AddItem(a1->GetSubMenu(), "a1y");
        a2 = AddItem(alpha, "a2");
        CFurlin* beta = AddMenu(Model(), "Beta");
        beta->Visible = 0;
        b1 = AddItem(beta, "b1");
        b1->Visible = 0;
    }

    void Open() {
        dialog = std::make_unique<CDlgConfig>();
        dialog->SetSession(session.get());
        dialog->Initialize();
    }

    // Probe pages as the active pages of both sheets.
    void AttachProbes() {
        itemProbe = new ProbePage(session.get());
        dialog->ItemSheet()->AddPage(itemProbe);
        ASSERT_TRUE(dialog->ItemSheet()->SetActivePage(dialog->ItemSheet()->PageCount() - 1));
        appletProbe = new ProbePage(session.get());
        dialog->AppletSheet()->AddPage(appletProbe);
        ASSERT_TRUE(dialog->AppletSheet()->SetActivePage(dialog->AppletSheet()->PageCount() - 1));
        itemProbe->enters = itemProbe->leaves = appletProbe->enters = appletProbe->leaves = 0;
    }

    QTreeWidgetItem* Node(std::initializer_list<int> path) {
        QTreeWidgetItem* node = dialog->RootNode();
        for (int index : path)
            node = node ? node->child(index) : nullptr;
        return node;
    }

    void Select(std::initializer_list<int> path) {
        QTreeWidgetItem* node = Node(path);
        ASSERT_NE(node, nullptr);
        dialog->SelectNode(node);
        ASSERT_EQ(dialog->SelectedNode(), node);
    }

    bool Enabled(CDlgConfig::Command command) {
        dialog->UpdateCommandUI();
        const bool enabled = dialog->CommandAction(command)->isEnabled();
        if (CIconButton* button = dialog->ToolButton(command)) {
            EXPECT_EQ(button->isEnabled(), enabled) << "tool button " << command;
        }
        return enabled;
    }

    CFoldline* component = nullptr;
    // What Config hands the dialog; the tests that run Config get the component's own.
    std::unique_ptr<CEditSession> session;
    std::unique_ptr<CDlgConfig> dialog;
    std::vector<QString> messages;
    std::vector<QString> questions;
    bool answer = true;
    // Questions with buttons of their own; answered with the button at choiceAnswer.
    std::vector<QString> choices;
    QStringList choiceButtons;
    int choiceDefault = -1;
    int choiceAnswer = 0;
    CFurlinItem* a1 = nullptr;
    CFurlinItem* a1x = nullptr;
    CFurlinItem* a2 = nullptr;
    CFurlinItem* b1 = nullptr;
    ProbePage* itemProbe = nullptr;
    ProbePage* appletProbe = nullptr;
};

// Puts the component's dialog runner back when a test that replaced it ends.
struct ConfigRunnerGuard {
    CFoldline::DialogRunner saved = CFoldline::ConfigDialogRunner();
    ~ConfigRunnerGuard() { CFoldline::ConfigDialogRunner() = saved; }
};
