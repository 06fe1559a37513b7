// The configuration dialog: the widget's menu tree, its commands and the property pages.
#pragma once

#include <QDialog>

class CFoldline;

class CDlgConfig : public QDialog {
    Q_OBJECT
public:
    explicit CDlgConfig(QWidget* parent = nullptr);
    ~CDlgConfig() override;

    // Set by Config right after construction, before the dialog is shown.
    void SetComponent(CFoldline* component);

    // Called by the pages after they stored a label or the applet name: the selected tree node
    // shows the new text when it is an item node (SetItemNodeLabel) or the root (SetRootNodeLabel).
    void SetItemNodeLabel(const QString& text);
    void SetRootNodeLabel(const QString& text);
};
