// Small layout helpers shared by the pages and their dialogs.
#pragma once

#include <QButtonGroup>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStringList>
#include <QVBoxLayout>

// A caption as a name: without its mnemonic marks and its closing colon.
inline QString FieldName(const QString& caption) {
    QString name = caption;
    name.remove(QLatin1Char('&'));
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name.trimmed();
}

// Puts a label and its field on one grid row; the label names the field (its buddy), also for
// screen readers.
inline QLabel* AddLabeledRow(QGridLayout* grid, int row, const QString& text, QWidget* field,
                             int fieldColumns = 1) {
    auto* label = new QLabel(text);
    label->setBuddy(field);
    if (field->accessibleName().isEmpty())
        field->setAccessibleName(FieldName(text));
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1, 1, fieldColumns);
    return label;
}

// A titled box of radio buttons whose ids are their positions (the stored value).
inline QButtonGroup* AddRadioGroup(QObject* owner, QLayout* layout, const QString& title,
                                   const QStringList& choices) {
    auto* box = new QGroupBox(title);
    auto* boxLayout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(owner);
    for (int i = 0; i < choices.size(); ++i) {
        auto* radio = new QRadioButton(choices[i]);
        group->addButton(radio, i);
        boxLayout->addWidget(radio);
    }
    layout->addWidget(box);
    return group;
}

// The "Gradient Direction" and "Border" radio groups side by side, as the item states and the
// applet background both have them.
inline void AddGradientAndBorderGroups(QObject* owner, QBoxLayout* layout, QButtonGroup** gradient,
                                       QButtonGroup** border) {
    auto* groups = new QHBoxLayout;
    layout->addLayout(groups);
    *gradient = AddRadioGroup(owner, groups,
                              QCoreApplication::translate("PageLayout", "Gradient Direction"),
                              {QCoreApplication::translate("PageLayout", "Single Direction"),
                               QCoreApplication::translate("PageLayout", "Bi-direction")});
    *border = AddRadioGroup(owner, groups, QCoreApplication::translate("PageLayout", "Border"),
                            {QCoreApplication::translate("PageLayout", "Plain"),
                             QCoreApplication::translate("PageLayout", "Raised"),
                             QCoreApplication::translate("PageLayout", "Sunken")});
}

// A text field that takes digits only (no sign).
inline QLineEdit* DigitsEdit(QObject* owner) {
    auto* edit = new QLineEdit;
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), owner));
    return edit;
}

// A "..." button that opens a file chooser; its tooltip and its name for screen readers say
// which file it chooses.
template <class Slot>
QPushButton* BrowseButton(const QString& name, const QObject* receiver, Slot slot) {
    auto* button = new QPushButton(QStringLiteral("..."));
    button->setAutoDefault(false);
    button->setAccessibleName(name);
    button->setToolTip(name);
    QObject::connect(button, &QPushButton::clicked, receiver, slot);
    return button;
}
