#include "ComboBoxNames.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

namespace {

// A drop-down list as screen readers meet it: its name, its shown entry as its value, and the
// action that opens its list. Lists are asked for while they are built, before they are named,
// so every list gets this interface and reads its name when asked.
class CNamedComboBoxAccessible : public QAccessibleWidget {
public:
    explicit CNamedComboBoxAccessible(QComboBox* box)
        : QAccessibleWidget(box, QAccessible::ComboBox) {}

    // The name it was given, else its label's; a list with neither is named by its entry.
    QString text(QAccessible::Text t) const override {
        const QString value = Box()->isEditable() && Box()->lineEdit() ? Box()->lineEdit()->text()
                                                                       : Box()->currentText();
        if (t == QAccessible::Value)
            return value;
        const QString own = QAccessibleWidget::text(t);
        return t == QAccessible::Name && own.isEmpty() ? value : own;
    }
    QAccessible::State state() const override {
        QAccessible::State st = QAccessibleWidget::state();
        st.expandable = true;
        st.expanded = Box()->view() && Box()->view()->isVisible();
        st.editable = Box()->isEditable();
        return st;
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == showMenuAction())
            Box()->showPopup();
        else
            QAccessibleWidget::doAction(name);
    }

private:
    QComboBox* Box() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* NamedComboBoxes(const QString& className, QObject* object) {
    auto* box = qobject_cast<QComboBox*>(object);
    if (className != QLatin1String("QComboBox") || !box)
        return nullptr;
    return new CNamedComboBoxAccessible(box);
}

} // namespace

void NameComboBoxesByTheirNames() {
    static const bool installed = [] {
        QAccessible::installFactory(&NamedComboBoxes);
        return true;
    }();
    (void)installed;
}
