// A page's value exchange, written once: one row per field names the control and the record
// member it edits. The rows also hold the page's own values, which the controls show and which
// persist between visits, so adding a field is one row plus its control.
#pragma once

#include "DataExchange.h"
#include "QtText.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class CColorButton;
class CSpinEdit;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;

// One field's value as a page keeps it: a number (integers, choices, colours) or a text.
struct CFieldValue {
    std::int64_t number = 0;
    QString text;
    bool operator==(const CFieldValue&) const = default;
};

// How one control shows a field value, reads it back and tells of changes.
struct CFieldControl {
    QObject* control = nullptr;
    CFieldValue initial; // the value before the first load
    std::function<void(const CFieldValue&)> show;
    // A refused text keeps the value; the exchange reports the refusal.
    std::function<void(CDataExchange&, CFieldValue&)> read;
    std::function<void(QObject* context, const std::function<void()>& changed)> watch;
};

// Whole decimal numbers, refused with the standard messages.
CFieldControl NumberField(QLineEdit* edit);
CFieldControl NumberField(CSpinEdit* edit);
CFieldControl RangeField(CSpinEdit* edit, int minimum, int maximum);
// Positions of a list or a radio group; showing no choice keeps the value.
CFieldControl ChoiceField(QComboBox* list);
CFieldControl RadioField(QButtonGroup* group);
CFieldControl CheckField(QCheckBox* box);
CFieldControl ColorField(CColorButton* button);
CFieldControl TextField(QLineEdit* edit);

template <class Record> class CPageBindings {
public:
    void Bind(CFieldControl control, int Record::*member) {
        Add(
            std::move(control),
            [member](const Record& r) {
                return CFieldValue{r.*member, {}};
            },
            [member](Record& r, const CFieldValue& v) { r.*member = static_cast<int>(v.number); });
    }
    void Bind(CFieldControl control, std::uint32_t Record::*member) {
        Add(
            std::move(control),
            [member](const Record& r) {
                return CFieldValue{r.*member, {}};
            },
            [member](Record& r, const CFieldValue& v) {
                r.*member = static_cast<std::uint32_t>(v.number);
            });
    }
    void Bind(CFieldControl control, std::string Record::*member) {
        Add(
            std::move(control),
            [member](const Record& r) {
                return CFieldValue{0, ToQt(r.*member)};
            },
            [member](Record& r, const CFieldValue& v) { r.*member = FromQt(v.text); });
    }

    // Page values from the record, or back to what a page holds before its first load.
    void Load(const Record& record) {
        for (Row& row : m_rows)
            row.value = row.get(record);
    }
    void Reset() {
        for (Row& row : m_rows)
            row.value = row.control.initial;
    }
    // The controls show the page values; these changes are not reported as edits.
    void Fill() {
        m_filling = true;
        for (const Row& row : m_rows)
            row.control.show(row.value);
        m_filling = false;
    }
    // Controls into page values, in row order; false when a field was refused.
    bool Read(CDataExchange& dx) {
        for (Row& row : m_rows)
            row.control.read(dx, row.value);
        return dx.Ok();
    }
    void ReadField(const QObject* control, CDataExchange& dx) {
        if (Row* row = Find(control))
            row->control.read(dx, row->value);
    }
    // Page values into the record; true when that changed the record.
    bool Store(Record& record) const {
        bool changed = false;
        for (const Row& row : m_rows)
            changed = StoreRow(row, record) || changed;
        return changed;
    }
    bool StoreField(const QObject* control, Record& record) const {
        const Row* row = Find(control);
        return row && StoreRow(*row, record);
    }
    // What the controls show, written into a record without a message and without touching the
    // page values; a refused field gives the page value.
    void ApplyControlsTo(Record& record) const {
        CDataExchange quiet = CDataExchange::Silent();
        for (const Row& row : m_rows) {
            CFieldValue value = row.value;
            row.control.read(quiet, value);
            row.set(record, value);
        }
    }
    // Calls changed whenever a control changes other than by Fill.
    void Watch(QObject* context, const std::function<void()>& changed) {
        for (const Row& row : m_rows)
            row.control.watch(context, [this, changed] {
                if (!m_filling)
                    changed();
            });
    }

private:
    struct Row {
        CFieldControl control;
        std::function<CFieldValue(const Record&)> get;
        std::function<void(Record&, const CFieldValue&)> set;
        CFieldValue value;
    };

    void Add(CFieldControl control, std::function<CFieldValue(const Record&)> get,
             std::function<void(Record&, const CFieldValue&)> set) {
        CFieldValue initial = control.initial;
        m_rows.push_back(Row{std::move(control), std::move(get), std::move(set), initial});
    }
    static bool StoreRow(const Row& row, Record& record) {
        if (row.get(record) == row.value)
            return false;
        row.set(record, row.value);
        return true;
    }
    Row* Find(const QObject* control) {
        for (Row& row : m_rows)
            if (row.control.control == control)
                return &row;
        return nullptr;
    }
    const Row* Find(const QObject* control) const {
        return const_cast<CPageBindings*>(this)->Find(control);
    }

    std::vector<Row> m_rows;
    bool m_filling = false;
};
