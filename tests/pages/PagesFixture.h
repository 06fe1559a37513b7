// Drives the property pages through the configuration dialog, with every prompt answered by
// the test.
#pragma once

#include "CAppletParameters.h"
#include "CConfigPreview.h"
#include "CDlgConfig.h"
#include "CEditSession.h"
#include "CFoldline.h"
#include "CPropertySheet.h"
#include "CWebPathFileDialog.h"
#include "EditorHelp.h"
#include "PageDialogs.h"
#include "Prompts.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

class PagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_object = new CFoldline();
        // The dialogs of these tests start no web engine; the live-preview tests show the pane.
        CConfigPreview::Profile()->setValue(CConfigPreview::kShownKey, false);
        ui::prompts().message = [this](QWidget*, const QString&, const QString& text, ui::Icon) {
            m_messages.push_back(text);
        };
        ui::prompts().askOkCancel = [](QWidget*, const QString&, const QString&, ui::Icon) {
            return true;
        };
        // Cancel after edits discards them, as these tests expect.
        ui::prompts().askChoice = [](QWidget*, const QString&, const QString&, const QStringList&,
                                     int) { return 0; };
        m_savedHelp = HelpTopicOpener();
        HelpTopicOpener() = [this](int topic) { m_helpTopics.push_back(topic); };
        m_savedRunner = PageDialogRunnerFunction();
        PageDialogRunnerFunction() = [](QDialog&) {
            ADD_FAILURE() << "unexpected dialog";
            return false;
        };
        CWebPathFileDialog::DialogRunner() = [](CWebPathFileDialog&) {
            ADD_FAILURE() << "unexpected file chooser";
            return false;
        };
    }
    void TearDown() override {
        ui::resetPrompts();
        HelpTopicOpener() = m_savedHelp;
        PageDialogRunnerFunction() = m_savedRunner;
        CWebPathFileDialog::DialogRunner() = nullptr;
        CFoldline::ConfigDialogRunner() = [](CDlgConfig& dialog) {
            return dialog.exec() == QDialog::Accepted;
        };
        m_object->Release();
    }

    CAppletParameters& Model() { return m_object->Model(); }

    // Appended at the end, so the model reads in the order it is built.
    CFurlin* AppendMenu(int items) {
        auto owned = std::make_unique<CFurlin>();
        CFurlin* menu = owned.get();
        Model().AddMenu(std::move(owned), false);
        for (int i = 0; i < items; ++i)
            AppendItem(*menu);
        return menu;
    }
    static CFurlinItem* AppendItem(CFurlin& menu) {
        auto owned = std::make_unique<CFurlinItem>();
        CFurlinItem* item = owned.get();
        menu.AddItem(std::move(owned), false);
        return item;
    }
    // The sub-menu of an item, created when missing.
    static CFurlin& SubMenu(CFurlinItem& item) {
        if (!item.GetSubMenu())
            item.SetSubMenu(std::make_unique<CFurlin>());
        return *item.GetSubMenu();
    }

    // Runs Config with body in place of the modal loop; body's answer is the dialog's result.
    bool Configure(const std::function<bool(CDlgConfig&)>& body) {
        CFoldline::ConfigDialogRunner() = [&body](CDlgConfig& dialog) {
            dialog.Initialize();
            return body(dialog);
        };
        return m_object->Config();
    }

    // OK as the user presses it: the shown page stores, the dialog closes.
    static bool PressOk(CDlgConfig& dialog) {
        dialog.OnOK();
        return dialog.result() == QDialog::Accepted;
    }

    // The tree node showing an object.
    static QTreeWidgetItem* NodeOf(CDlgConfig& dialog, const void* object) {
        std::vector<QTreeWidgetItem*> stack = {dialog.RootNode()};
        while (!stack.empty()) {
            QTreeWidgetItem* node = stack.back();
            stack.pop_back();
            if (CDlgConfig::ItemOf(node) == object || CDlgConfig::MenuOf(node) == object)
                return node;
            for (int i = 0; i < node->childCount(); ++i)
                stack.push_back(node->child(i));
        }
        return nullptr;
    }
    static void Select(CDlgConfig& dialog, const void* object) {
        QTreeWidgetItem* node = NodeOf(dialog, object);
        ASSERT_NE(node, nullptr);
        dialog.SelectNode(node);
        ASSERT_EQ(dialog.SelectedNode(), node);
    }
    // Shows the tab with this title on the item sheet.
    static CPropertyPage* ItemTab(CDlgConfig& dialog, const QString& title) {
        return Tab(dialog.ItemSheet(), title);
    }
    static CPropertyPage* AppletTab(CDlgConfig& dialog, const QString& title) {
        return Tab(dialog.AppletSheet(), title);
    }
    static CPropertyPage* Tab(CPropertySheet* sheet, const QString& title) {
        for (int i = 0; i < sheet->PageCount(); ++i) {
            if (sheet->Page(i)->Title() == title) {
                EXPECT_TRUE(sheet->SetActivePage(i)) << title.toStdString();
                return sheet->Page(i);
            }
        }
        ADD_FAILURE() << "no tab " << title.toStdString();
        return nullptr;
    }

    // The control a label names, optionally inside the group box with that title.
    template <class T>
    static T* Field(QWidget* page, const QString& label, const QString& group = QString()) {
        QWidget* scope = page;
        if (!group.isEmpty())
            scope = Group(page, group);
        if (scope) {
            for (QLabel* l : scope->findChildren<QLabel*>()) {
                if (l->text() == label && l->buddy())
                    if (T* field = qobject_cast<T*>(l->buddy()))
                        return field;
            }
        }
        ADD_FAILURE() << "no field " << label.toStdString();
        return nullptr;
    }
    static QGroupBox* Group(QWidget* page, const QString& title) {
        for (QGroupBox* box : page->findChildren<QGroupBox*>())
            if (box->title() == title)
                return box;
        ADD_FAILURE() << "no group " << title.toStdString();
        return nullptr;
    }
    template <class T = QAbstractButton>
    static T* Button(QWidget* page, const QString& text, const QString& group = QString()) {
        QWidget* scope = group.isEmpty() ? page : Group(page, group);
        if (scope) {
            for (T* button : scope->findChildren<T*>())
                if (button->text() == text)
                    return button;
        }
        ADD_FAILURE() << "no button " << text.toStdString();
        return nullptr;
    }
    // The i-th "..." button of a widget, in creation order.
    static QPushButton* Browse(QWidget* widget, int index) {
        std::vector<QPushButton*> found;
        for (QPushButton* b : widget->findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("..."))
                found.push_back(b);
        if (index >= static_cast<int>(found.size())) {
            ADD_FAILURE() << "no browse button " << index;
            return nullptr;
        }
        return found[index];
    }

    // Answers the next page dialog with body (which sets its controls) and OK.
    template <class D> void AnswerDialog(std::function<void(D&)> body, bool ok = true) {
        PageDialogRunnerFunction() = [body, ok](QDialog& dialog) {
            auto* typed = qobject_cast<D*>(&dialog);
            EXPECT_NE(typed, nullptr);
            if (!typed)
                return false;
            body(*typed);
            if (!ok) {
                dialog.reject();
                return false;
            }
            dialog.accept();
            return dialog.result() == QDialog::Accepted;
        };
    }

    CFoldline* m_object = nullptr;
    std::vector<QString> m_messages;
    std::vector<int> m_helpTopics;

private:
    HelpOpener m_savedHelp;
    PageDialogRunner m_savedRunner;
};
