#include "DiscardQuestion.h"

#include "CAppletParameters.h"
#include "CTesselFile.h"
#include "Prompts.h"
#include "Records.h"

#include <QCoreApplication>

namespace {

// Everything the author can change: the lossless stored table, and the file references in full,
// since the table keeps only their names. A text that means the same empty or filled in (an empty
// target frame is "_self", which the page shows and stores for it) counts filled in.
std::string Fingerprint(CAppletParameters& model) {
    for (CFurlinItem* item : model.CollectItems(false))
        for (const auto& field : foldline::kItemFields)
            if (field.appletForm == foldline::AppletForm::SelfWhenEmpty &&
                foldline::TextOf(*item, field).empty())
                foldline::TextOf(*item, field) = "_self";
    CTesselFile table;
    model.WriteParameters(table);
    std::string print;
    table.Parameters().ForEach([&print](const std::string& name, const std::string& value) {
        print.append(name).append(1, '\x1f').append(value).append(1, '\x1e');
    });
    model.ForEachFileReference([&print](std::string& file, const std::string& webFolder) {
        print.append(file).append(1, '\x1f').append(webFolder).append(1, '\x1e');
    });
    return print;
}

} // namespace

void CDiscardQuestion::Start(const CAppletParameters& model) {
    CAppletParameters start;
    start.Assign(model);
    m_start = Fingerprint(start);
    m_started = true;
}

bool CDiscardQuestion::MayClose(
    QWidget* parent, const CAppletParameters& model,
    const std::function<void(CAppletParameters& copy)>& applyPage) const {
    if (!m_started)
        return true;
    CAppletParameters working;
    working.Assign(model);
    if (applyPage)
        applyPage(working);
    if (Fingerprint(working) == m_start)
        return true;
    const QStringList buttons = {QCoreApplication::translate("CDlgConfig", "Discard"),
                                 QCoreApplication::translate("CDlgConfig", "Keep Editing")};
    return ui::prompts().askChoice(parent, QStringLiteral("Quillary Foldline"),
                                   QCoreApplication::translate(
                                       "CDlgConfig", "Discard the changes made in this dialog?"),
                                   buttons, 1) == 0;
}
