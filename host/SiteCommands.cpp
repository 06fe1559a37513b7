#include "SiteCommands.h"

#include "CDlgCheckLinks.h"
#include "CMainFrame.h"
#include "CQuillaryToolApp.h"
#include "CQuillaryToolDoc.h"
#include "CQuillaryToolView.h"
#include "HostServices.h"
#include "HostStrings.h"
#include "Prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

namespace host {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(SiteCommands)
};

// The document's widget, or null when there is none to work on.
CTessel* Widget(CQuillaryToolApp& app) {
    CQuillaryToolDoc* doc = app.Document();
    return doc && doc->HasComponent() ? doc->Component() : nullptr;
}

// A site folder picked in the chooser; empty when cancelled.
QString PickSite(CQuillaryToolApp& app, const QString& caption) {
    CQuillaryToolDoc& doc = *app.Document();
    QString site = ui::prompts().pickFolder(app.MainFrame(), caption, doc.ChooserFolder());
    if (site.isEmpty())
        return site;
    doc.RememberChosen(site, true);
    return QFileInfo(site).absoluteFilePath();
}

// A report kept to a size a message box can show.
QString Shortened(const QString& report) {
    constexpr int kShownLines = 20;
    QStringList lines = report.split('\n');
    if (lines.size() <= kShownLines + 1)
        return report;
    const qsizetype more = lines.size() - kShownLines;
    lines = lines.mid(0, kShownLines);
    lines << Text::tr("... and %1 more").arg(more);
    return lines.join('\n');
}

QString JsonFilter() {
    return Text::tr("JSON Files (*.json)") + QStringLiteral("|*.json|") +
           Text::tr("All Files (*)") + QStringLiteral("|*");
}

} // namespace

void OnPublishToSite(CQuillaryToolApp& app) {
    CTessel* widget = Widget(app);
    if (!widget)
        return;
    const QString site = PickSite(app, Text::tr("Publish to Site"));
    if (site.isEmpty())
        return;
    const std::string folder = site.toStdString();
    const QString preview = QString::fromStdString(widget->PublishToSite(folder, true));
    if (!ui::askOkCancel(
            app.MainFrame(), QString::fromUtf8(kAppTitle),
            Text::tr("Publish the menu into the pages of %1?\n\n%2").arg(site, Shortened(preview))))
        return;
    Message(app.MainFrame(),
            Shortened(QString::fromStdString(widget->PublishToSite(folder, false))));
}

void OnNewFromSiteFolder(CQuillaryToolApp& app) {
    CQuillaryToolDoc& doc = *app.Document();
    if (!doc.SaveModified())
        return;
    const QString site = PickSite(app, Text::tr("New from Site Folder"));
    if (site.isEmpty())
        return;
    if (!doc.OnNewDocumentFrom([&site](CTessel& widget) { widget.ImportSite(site.toStdString()); }))
        return;
    if (CQuillaryToolView* view = app.View())
        view->OnInitialUpdate();
}

void OnExportJson(CQuillaryToolApp& app) {
    CTessel* widget = Widget(app);
    if (!widget)
        return;
    CQuillaryToolDoc& doc = *app.Document();
    const QString proposed =
        QDir(doc.ChooserFolder())
            .filePath(QFileInfo(doc.GetTitle()).completeBaseName() + QStringLiteral(".json"));
    QString path = ui::prompts().pickSaveFile(app.MainFrame(), Text::tr("Export Menu as JSON"),
                                              proposed, JsonFilter());
    if (path.isEmpty())
        return;
    doc.RememberChosen(path);
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".json");
        // The save dialog checked the name as typed, not this one: ask before replacing it.
        if (QFileInfo::exists(path) &&
            !ui::askOkCancel(app.MainFrame(), QString::fromUtf8(kAppTitle),
                             Text::tr("%1 already exists.\nDo you want to replace it?").arg(path),
                             ui::Icon::Exclamation))
            return;
    }
    widget->ExportJSON(QFileInfo(path).absoluteFilePath().toStdString());
}

void OnImportJson(CQuillaryToolApp& app) {
    CTessel* widget = Widget(app);
    if (!widget)
        return;
    CQuillaryToolDoc& doc = *app.Document();
    const QString path = ui::prompts().pickOpenFile(
        app.MainFrame(), Text::tr("Import Menu from JSON"), doc.ChooserFolder(), JsonFilter());
    if (path.isEmpty())
        return;
    doc.RememberChosen(path);
    if (!ui::askOkCancel(app.MainFrame(), QString::fromUtf8(kAppTitle),
                         Text::tr("The widget's menus will be replaced by those of %1.").arg(path)))
        return;
    widget->ImportJSON(QFileInfo(path).absoluteFilePath().toStdString());
    if (CQuillaryToolView* view = app.View())
        view->ShowChangedWidget();
}

void OnCheckLinks(CQuillaryToolApp& app) {
    CTessel* widget = Widget(app);
    if (!widget)
        return;
    const QString site = PickSite(app, Text::tr("Check Links"));
    if (site.isEmpty())
        return;
    CDlgCheckLinks dialog(ParseLinkRows(widget->CheckLinks(site.toStdString())), app.MainFrame());
    dialog.checkWeb = [&app, &dialog, widget] {
        WebCheckOutcome outcome;
        app.MainFrame()->RunCommand([&outcome, &dialog, widget] {
            const QList<LinkRow> rows = WebLinks(ParseLinkRows(widget->GetItemLinks()));
            // Dead servers take their whole time limit: show how far it is and let it be stopped.
            QProgressDialog progress(Text::tr("Checking web links..."), Text::tr("Stop"), 0,
                                     int(rows.size()), &dialog);
            progress.setWindowModality(Qt::WindowModal);
            progress.setMinimumDuration(1000);
            WebCheckLimits limits;
            limits.progress = [&progress, &outcome](int checked, int) {
                progress.setValue(checked);
                outcome.stopped = progress.wasCanceled();
                return !outcome.stopped;
            };
            outcome.failed = CheckWebLinks(rows, limits);
        });
        return outcome;
    };
    dialog.openItem = [&app, widget](const QString& node) {
        app.MainFrame()->RunCommand([&app, widget, node] {
            widget->SetConfigSelection(node.toStdString());
            if (CQuillaryToolView* view = app.View())
                view->OnConfigure();
        });
    };
    services().runDialog(dialog);
}

} // namespace host
