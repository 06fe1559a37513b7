// The configuration dialog shown and driven with the keyboard as the author drives it, and the
// model in forms that compare exactly.
#pragma once

#include "ConfigDialogFixture.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <string>

class TreeEditingTest : public ConfigDialogTest {
protected:
    // The dialog on screen and active, the keyboard focus in the tree.
    void OpenShown() {
        Open();
        dialog->resize(760, 560);
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        dialog->Tree()->setFocus();
        QApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), dialog->Tree());
    }

    // One key to whatever has the focus, as the author presses it; the event loop runs after
    // it, as it does between two real key strokes.
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, static_cast<Qt::Key>(key), modifiers);
        QApplication::processEvents();
        ++keys;
    }
    void Type(const QString& text) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClicks(focus, text);
        QApplication::processEvents();
        typed += static_cast<int>(text.size());
    }
    QLineEdit* Editor() { return qobject_cast<QLineEdit*>(QApplication::focusWidget()); }

    CPropertyPage* ItemPage(const QString& title) {
        CPropertySheet* sheet = reinterpret_cast<CPropertySheet*>(dialog->ItemSheet());
        for (int i = 0; i < sheet->PageCount(); ++i)
            if (sheet->Page(i)->Title() == title) {
                EXPECT_TRUE(sheet->SetActivePage(i));
                return sheet->Page(i);
            }
        ADD_FAILURE() << "no page " << title.toStdString();
        return nullptr;
    }
    template <class T> static T* Field(QWidget* page, const QString& label) {
        for (QLabel* l : page->findChildren<QLabel*>())
            if (l->text() == label)
                if (T* field = qobject_cast<T*>(l->buddy()))
                    return field;
        ADD_FAILURE() << "no field " << label.toStdString();
        return nullptr;
    }

    int keys = 0;
    int typed = 0;
};

// Labels, links and frames of a sub-tree as indented lines, to compare two sub-trees.
inline std::string Shape(const CFurlin& menu, int depth = 0) {
    std::string out;
    for (const auto& item : menu.Items()) {
        out += std::string(depth, '.') + item->Label + "|" + item->Link + "|" + item->TargetFrame +
               "\n";
        out += Shape(*item->GetSubMenu(), depth + 1);
    }
    return out;
}

// The model in byte form, an empty target frame taken as the "_self" that the General page shows
// for it and stores whenever it is left.
inline std::string Plain(const CAppletParameters& model) {
    CAppletParameters copy;
    copy.Assign(model);
    std::vector<CFurlin*> pending;
    for (const auto& menu : copy.Menus())
        pending.push_back(menu.get());
    while (!pending.empty()) {
        CFurlin* menu = pending.back();
        pending.pop_back();
        for (const auto& item : menu->Items()) {
            if (item->TargetFrame.empty())
                item->TargetFrame = "_self";
            pending.push_back(item->GetSubMenu());
        }
    }
    return Dump(copy);
}
