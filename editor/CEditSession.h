// One run of the configuration dialog: the model it edits, the item and menu whose pages are
// shown, and the signals through which the pages tell the dialog what they stored. The component
// creates it for the dialog; the editor reaches the model only through it.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

class CAppletParameters;
struct CExpansionMemory;
class CFurlin;
class CFurlinItem;

class CEditSession : public QObject {
    Q_OBJECT
public:
    explicit CEditSession(CAppletParameters& model, QObject* parent = nullptr);

    CAppletParameters& Model() const { return m_model; }

    // The bindings through which the item pages read and write the model: the item whose pages
    // are shown and the menu holding it.
    CFurlinItem* CurrentItem = nullptr;
    CFurlin* CurrentMenu = nullptr;

    // Binds the pages to an item and its holding menu; SelectionChanged follows a change.
    void Bind(CFurlinItem* item, CFurlin* menu);
    void Unbind() { Bind(nullptr, nullptr); }
    // Whether a binding points at this item or into its sub-tree.
    bool BindsInside(const CFurlinItem& item) const;
    // Unbinds before the item and its sub-tree are destroyed, when a binding points into them.
    void ReleaseInside(const CFurlinItem& item);

    // Where the tree's open nodes are kept from one dialog to the next, owned by whoever keeps
    // the widget across dialogs; none when nothing is kept.
    void SetExpansion(CExpansionMemory* memory) { m_expansion = memory; }
    CExpansionMemory* Expansion() const { return m_expansion; }

signals:
    // A page stored an item's label or the applet's name: the node of the selection shows it.
    void ItemLabelStored(const QString& label);
    void AppletNameStored(const QString& name);
    // A page asks for the "Apply Look To" choices at a point of the screen.
    void LookMenuRequested(const QPoint& globalPos);
    // The bindings point at another item (or at none).
    void SelectionChanged();

private:
    CAppletParameters& m_model;
    CExpansionMemory* m_expansion = nullptr;
};
