#include "WorkingDocument.h"

#include "CAppletParameters.h"
#include "CDlgConfig.h"
#include "CFoldline.h"
#include "CTesselFile.h"
#include "FoldlineDispatch.h"
#include "Paths.h"

std::string WorkingDocumentText(CAppletParameters& model, const CTesselFile& document) {
    CTesselFile working;
    document.Descriptions().ForEach([&working](const std::string& key, const std::string& value) {
        working.SetDescription(key, value);
    });
    working.SetDescription("ProgID", kFoldlineProgID);
    // The list first: it drops references to files that are gone, as a save's copying does, so
    // the table and the list name the same files.
    model.BuildResourceList(working);
    model.WriteParameters(working);
    // No HTML segment: every use of the widget generates it afresh, and the copy is made often.
    return working.ToText();
}

void RestoreReferenceFolders(CAppletParameters& model, const CTesselFile& document) {
    const std::vector<ResourceEntry>& entries = document.Resources();
    std::size_t next = 1; // entry 0 is the applet class file
    bool inStep = true;
    model.ForEachFileReference([&](std::string& reference, const std::string&) {
        if (reference.empty() || !inStep)
            return;
        // A list that no longer matches the references (edited by hand) is not followed.
        inStep = next < entries.size() && entries[next].name == FileNameOfPath(reference);
        if (inStep) {
            reference = entries[next].localPath + "/" + entries[next].name;
            ++next;
        }
    });
}

std::string CFoldline::GetWorkingDocument() {
    CAppletParameters scratch;
    scratch.Assign(m_model);
    // What the open dialog's page shows but has not stored yet is part of the work.
    if (m_configDialog)
        m_configDialog->ApplyPageValuesTo(scratch);
    return WorkingDocumentText(scratch, m_document);
}

bool CFoldline::ReadRecoveryFile(const std::string& path) {
    if (!ReadConfigFile(path))
        return false;
    RestoreReferenceFolders(m_model, m_document);
    return true;
}
