// A page whose controls edit one record through its binding table: the page protocol, written
// once for every such page.
#pragma once

#include "CPropertySheet.h"
#include "PageBindings.h"

template <class Record> class CRecordPage : public CPropertyPage {
public:
    // Loads the page values from the record and shows them. Without a record the page either
    // keeps what it shows or, when it resets while unbound, shows empty values.
    void EnterPage() override {
        if (Record* record = RecordOf(LiveTarget()))
            m_fields.Load(*record);
        else if (m_resetWhenUnbound)
            m_fields.Reset();
        else
            return;
        ShowValues();
        m_edited = false;
    }

    // Reads the controls (refused fields keep their values) and stores into the record.
    bool LeavePage() override {
        CDataExchange dx(this);
        const bool ok = m_fields.Read(dx);
        if (Record* record = RecordOf(LiveTarget())) {
            if (m_fields.Store(*record))
                emit ModelChanged(m_edited);
            Stored(*record);
        }
        m_edited = false;
        return ok;
    }

    void ApplyControlsTo(const CEditTarget& target) const override {
        if (Record* record = RecordOf(target))
            m_fields.ApplyControlsTo(*record);
    }

protected:
    CRecordPage(const QString& title, CEditSession* session, QWidget* parent)
        : CPropertyPage(title, session, parent) {}

    // The record this page edits among the target's, or none when the page is unbound.
    virtual Record* RecordOf(const CEditTarget& target) const = 0;
    // After the controls show the page values.
    virtual void Filled() {}
    // After LeavePage stored into the record.
    virtual void Stored(Record&) {}

    // Ends a constructor: the controls show the initial values and report their edits.
    void FinishFields() {
        m_fields.Watch(this, [this] {
            m_edited = true;
            emit ControlsEdited();
        });
        ShowValues();
        DisableAutoDefaultButtons();
    }
    void ShowValues() {
        m_fields.Fill();
        Filled();
    }
    // Reads one control and stores it alone, as a field that stores when it loses the focus.
    void StoreField(const QObject* control) {
        CDataExchange dx(this);
        m_fields.ReadField(control, dx);
        if (Record* record = RecordOf(LiveTarget())) {
            if (m_fields.StoreField(control, *record))
                emit ModelChanged(m_edited);
            Stored(*record);
        }
    }

    CPageBindings<Record> m_fields;
    bool m_resetWhenUnbound = false;
    // A control changed since the page was shown or last stored.
    bool m_edited = false;
};
