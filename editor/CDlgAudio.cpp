#include "CDlgAudio.h"

#include "CAppletParameters.h"
#include "CWebPathFileDialog.h"
#include "DataExchange.h"

CDlgAudio::CDlgAudio(QWidget* parent)
    : CDlgStateFiles(tr("Audio"), {tr("Mouse Over:"), tr("Click:")}, tr("Choose the %1 audio file"),
                     CWebPathFileDialog::kAudioFilter, parent) {}

void CDlgAudio::Preset(const CFurlinItem& item) {
    SetState(kOver, ToQt(item.OverAudio), ToQt(item.OverAudioWebPath));
    SetState(kClick, ToQt(item.ClickAudio), ToQt(item.ClickAudioWebPath));
    SetApplyScope(kThisItem);
}

void CDlgAudio::Apply(CAppletParameters& model, CFurlinItem& item) const {
    const std::string over = FromQt(Path(kOver)), overWeb = FromQt(WebPath(kOver));
    const std::string click = FromQt(Path(kClick)), clickWeb = FromQt(WebPath(kClick));
    switch (ApplyScope()) {
    case kThisItem:
        item.OverAudio = over;
        item.OverAudioWebPath = overWeb;
        item.ClickAudio = click;
        item.ClickAudioWebPath = clickWeb;
        break;
    case kSameMenu:
        for (const auto& top : model.Menus()) {
            if (CFurlin* holder = CAppletParameters::FindParentMenu(top.get(), &item)) {
                CAppletParameters::ApplyAudio(holder, over, overWeb, click, clickWeb, false);
                break;
            }
        }
        break;
    case kAllItems:
        for (const auto& top : model.Menus())
            CAppletParameters::ApplyAudio(top.get(), over, overWeb, click, clickWeb, false);
        break;
    default:
        break;
    }
}
