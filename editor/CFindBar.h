// Ctrl+F over the configuration tree: a field whose text is looked for, case ignored, in every
// node's label and link. Nothing is hidden: the rows that hold it are highlighted and the first
// is selected; Enter and Shift+Enter go to the next and the previous one, Escape closes the bar
// and leaves the focus in the tree on the node found.
#pragma once

#include <QWidget>

#include <unordered_set>
#include <vector>

class CConfigTree;
class QLabel;
class QLineEdit;
class QTreeWidgetItem;

class CFindBar : public QWidget {
    Q_OBJECT
public:
    // The tree highlights the matches through its highlighted function, which its owner clears
    // when the bar goes first.
    CFindBar(CConfigTree& tree, QWidget* parent);

    // Shows the bar with the focus in its field, and looks again for what the field holds.
    void Open();
    // Hides the bar; the highlights go and the tree takes the focus.
    void Close();
    QLineEdit* Field() const { return m_field; }
    QLabel* Status() const { return m_status; }

    // The nodes that hold the text, in tree order.
    const std::vector<QTreeWidgetItem*>& Matches() const { return m_matches; }
    bool IsMatch(const QTreeWidgetItem* node) const { return m_matched.count(node) != 0; }
    // Selects the next (or the previous) match after the current node, round the end.
    void Step(bool forward);
    // Looks for the text and selects the first node that holds it.
    void Search(const QString& text);
    // Looks again after the tree changed, leaving the selection where it is.
    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Collect(const QString& text);
    void Go(QTreeWidgetItem* node);
    void ShowStatus();

    CConfigTree& m_tree;
    QLineEdit* m_field;
    QLabel* m_status;
    std::vector<QTreeWidgetItem*> m_matches;
    std::unordered_set<const QTreeWidgetItem*> m_matched;
};
