#include "CAboutDlg.h"

#include "CLinkLabel.h"
#include "HostIcons.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

QFrame* Separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About Quillary Foldline"));

    auto* icon = new QLabel(this);
    icon->setPixmap(host::ProgramIcon().pixmap(32, 32));
    auto* version = new QLabel(tr("Quillary Foldline Version 1.1"), this);
    auto* purpose =
        new QLabel(tr("Builds navigation menus for web pages whose sub-menus slide open "
                      "beneath the item that owns them."),
                   this);
    purpose->setWordWrap(true);
    auto* rights = new QLabel(tr("Copyright (C) Velloran. All rights reserved."), this);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(purpose);
    top->addLayout(texts, 1);

    webLink = new CLinkLabel(QStringLiteral("https://www.velloran.example/"),
                             QStringLiteral("https://www.velloran.example/"), this);
    auto* contacts = new QGridLayout;
    contacts->addWidget(new QLabel(tr("Web:"), this), 0, 0);
    contacts->addWidget(webLink, 0, 1);
    contacts->addWidget(new QLabel(tr("Tech Support:"), this), 1, 0);
    contacts->addWidget(new QLabel(QStringLiteral("support@velloran.example"), this), 1, 1);
    contacts->addWidget(new QLabel(tr("Postal Mail:"), this), 2, 0);
    contacts->addWidget(
        new QLabel(QStringLiteral("Velloran, 12 Harbour Lane, Eastmere 4021"), this), 2, 1);
    contacts->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Separator(this));
    layout->addWidget(rights);
    layout->addWidget(Separator(this));
    layout->addLayout(contacts);
    layout->addWidget(buttons);
}
