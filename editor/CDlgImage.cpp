#include "CDlgImage.h"

#include "CAppletParameters.h"
#include "CWebPathFileDialog.h"
#include "DataExchange.h"

CDlgImage::CDlgImage(QWidget* parent)
    : CDlgStateFiles(tr("Image"), {tr("Normal:"), tr("Mouse Over:"), tr("Click:")},
                     tr("Choose the %1 image file"), CWebPathFileDialog::kImageFilter, parent) {}

void CDlgImage::Preset(const CFurlinItem& item) {
    SetState(kNormal, ToQt(item.NormalImage), ToQt(item.NormalImageWebPath));
    SetState(kOver, ToQt(item.OverImage), ToQt(item.OverImageWebPath));
    SetState(kClick, ToQt(item.ClickImage), ToQt(item.ClickImageWebPath));
    SetApplyScope(kThisItem);
}

void CDlgImage::Apply(CAppletParameters& model, CFurlinItem& item) const {
    const std::string normal = FromQt(Path(kNormal)), normalWeb = FromQt(WebPath(kNormal));
    const std::string over = FromQt(Path(kOver)), overWeb = FromQt(WebPath(kOver));
    const std::string click = FromQt(Path(kClick)), clickWeb = FromQt(WebPath(kClick));
    switch (ApplyScope()) {
    case kThisItem:
        item.NormalImage = normal;
        item.NormalImageWebPath = normalWeb;
        item.OverImage = over;
        item.OverImageWebPath = overWeb;
        item.ClickImage = click;
        item.ClickImageWebPath = clickWeb;
        break;
    case kSameMenu:
        for (const auto& top : model.Menus()) {
            if (CFurlin* holder = CAppletParameters::FindParentMenu(top.get(), &item)) {
                CAppletParameters::ApplyImages(holder, normal, normalWeb, over, overWeb, click,
                                               clickWeb, false);
                break;
            }
        }
        break;
    case kAllItems:
        for (const auto& top : model.Menus())
            CAppletParameters::ApplyImages(top.get(), normal, normalWeb, over, overWeb, click,
                                           clickWeb, true);
        break;
    default:
        break;
    }
}
