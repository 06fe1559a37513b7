// Small layout helpers shared by the pages and their dialogs.
#pragma once

#include <QGridLayout>
#include <QLabel>

// Puts a label and its field on one grid row; the label names the field (its buddy).
inline QLabel* AddLabeledRow(QGridLayout* grid, int row, const QString& text, QWidget* field,
                             int fieldColumns = 1) {
    auto* label = new QLabel(text);
    label->setBuddy(field);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1, 1, fieldColumns);
    return label;
}
