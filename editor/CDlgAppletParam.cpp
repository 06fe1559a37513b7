#include "CDlgAppletParam.h"

#include "CColorButton.h"
#include "CDlgConfig.h"
#include "CFoldline.h"
#include "CSpinEdit.h"
#include "CWebPathFileDialog.h"
#include "DataExchange.h"
#include "PageDialogs.h"
#include "PageLayout.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

QPushButton* BrowseButton() {
    auto* button = new QPushButton(QStringLiteral("..."));
    button->setAutoDefault(false);
    return button;
}

} // namespace

CDlgAppletParam::CDlgAppletParam(CFoldline* component, QWidget* parent)
    : CPropertyPage(QStringLiteral("Applet Parameters"), component, parent),
      m_nameEdit(new QLineEdit), m_alignBox(new QComboBox), m_classEdit(new QLineEdit),
      m_widthEdit(new CSpinEdit(0, 5000, false)), m_heightEdit(new CSpinEdit(0, 5000, false)),
      m_backColorButton(new CColorButton), m_audioEdit(new QLineEdit), m_imageEdit(new QLineEdit),
      m_tileGroup(new QButtonGroup(this)), m_xEdit(DigitsEdit(this)), m_yEdit(DigitsEdit(this)) {
    m_classFile = ToQt(m_component->Model().LocalPath) + QStringLiteral("furlin.class");
    m_alignBox->addItems(
        {QStringLiteral("Center"), QStringLiteral("Left"), QStringLiteral("Right")});
    m_classEdit->setReadOnly(true);
    m_nameEdit->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    layout->addLayout(top);
    AddLabeledRow(top, 0, QStringLiteral("Name:"), m_nameEdit);
    AddLabeledRow(top, 1, QStringLiteral("Align:"), m_alignBox);

    auto* appletBox = new QGroupBox(QStringLiteral("Applet"));
    auto* appletGrid = new QGridLayout(appletBox);
    AddLabeledRow(appletGrid, 0, QStringLiteral("Web Path:"), m_classEdit);
    auto* classBrowse = BrowseButton();
    appletGrid->addWidget(classBrowse, 0, 2);
    AddLabeledRow(appletGrid, 1, QStringLiteral("Width:"), m_widthEdit);
    AddLabeledRow(appletGrid, 2, QStringLiteral("Height:"), m_heightEdit);
    layout->addWidget(appletBox);

    auto* backBox = new QGroupBox(QStringLiteral("Background"));
    auto* backGrid = new QGridLayout(backBox);
    AddLabeledRow(backGrid, 0, QStringLiteral("Color:"), m_backColorButton);
    AddLabeledRow(backGrid, 1, QStringLiteral("Audio:"), m_audioEdit);
    auto* audioBrowse = BrowseButton();
    backGrid->addWidget(audioBrowse, 1, 2);
    AddLabeledRow(backGrid, 2, QStringLiteral("Image:"), m_imageEdit);
    auto* imageBrowse = BrowseButton();
    backGrid->addWidget(imageBrowse, 2, 2);

    auto* displayBox = new QGroupBox(QStringLiteral("Display Image"));
    auto* displayGrid = new QGridLayout(displayBox);
    auto* position = new QRadioButton(QStringLiteral("Specify Position"));
    auto* tile = new QRadioButton(QStringLiteral("Tile"));
    m_tileGroup->addButton(position, 0);
    m_tileGroup->addButton(tile, 1);
    displayGrid->addWidget(position, 0, 0, 1, 2);
    m_xLabel = AddLabeledRow(displayGrid, 1, QStringLiteral("X Pos:"), m_xEdit);
    m_yLabel = AddLabeledRow(displayGrid, 2, QStringLiteral("Y Pos:"), m_yEdit);
    displayGrid->addWidget(tile, 3, 0, 1, 2);
    backGrid->addWidget(displayBox, 3, 0, 1, 3);
    layout->addWidget(backBox);
    layout->addStretch();

    connect(m_backColorButton, &QPushButton::clicked, m_backColorButton,
            &CColorButton::ChooseColor);
    connect(classBrowse, &QPushButton::clicked, this, &CDlgAppletParam::OnBrowseClass);
    connect(audioBrowse, &QPushButton::clicked, this, &CDlgAppletParam::OnBrowseAudio);
    connect(imageBrowse, &QPushButton::clicked, this, &CDlgAppletParam::OnBrowseImage);
    connect(m_tileGroup, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            EnablePosition();
    });
    DisableAutoDefaultButtons();
    FillControls();
}

// The position fields only matter while the image is placed, not tiled; greying them keeps
// their values.
void CDlgAppletParam::EnablePosition() {
    const bool enabled = m_tileGroup->checkedId() != 1;
    m_xLabel->setEnabled(enabled);
    m_xEdit->setEnabled(enabled);
    m_yLabel->setEnabled(enabled);
    m_yEdit->setEnabled(enabled);
}

bool CDlgAppletParam::ReadControls() {
    CDataExchange dx(this);
    m_name = m_nameEdit->text();
    dx.Index(m_alignBox, m_align);
    dx.IntRange(m_widthEdit, m_widthEdit->Text(), 0, 5000, m_width);
    dx.IntRange(m_heightEdit, m_heightEdit->Text(), 0, 5000, m_height);
    m_backColor = m_backColorButton->Color();
    m_audio = m_audioEdit->text();
    m_image = m_imageEdit->text();
    dx.Radio(m_tileGroup, m_imageTile);
    dx.Int(m_xEdit, m_imageX);
    dx.Int(m_yEdit, m_imageY);
    return dx.Ok();
}

void CDlgAppletParam::FillControls() {
    m_nameEdit->setText(m_name);
    ShowIndex(m_alignBox, m_align);
    m_classEdit->setText(m_classFile);
    m_widthEdit->SetValue(m_width);
    m_heightEdit->SetValue(m_height);
    m_backColorButton->SetColor(m_backColor);
    m_audioEdit->setText(m_audio);
    m_imageEdit->setText(m_image);
    ShowRadio(m_tileGroup, m_imageTile);
    m_xEdit->setText(QString::number(m_imageX));
    m_yEdit->setText(QString::number(m_imageY));
    EnablePosition();
}

void CDlgAppletParam::EnterPage() {
    const CAppletParameters& model = m_component->Model();
    m_audio = ToQt(model.Audio);
    m_backColor = model.BackColor;
    m_image = ToQt(model.BackImage);
    m_align = model.Align;
    m_height = model.Height;
    m_name = ToQt(model.Name);
    m_width = model.Width;
    m_imageTile = model.ImageTile;
    m_imageX = model.ImageX;
    m_imageY = model.ImageY;
    FillControls();
}

bool CDlgAppletParam::LeavePage() {
    const bool ok = ReadControls();
    CAppletParameters& model = m_component->Model();
    model.Audio = FromQt(m_audio);
    model.BackColor = m_backColor;
    model.BackImage = FromQt(m_image);
    model.Align = m_align;
    model.Height = m_height;
    model.Width = m_width;
    model.ImageTile = m_imageTile;
    model.ImageX = m_imageX;
    model.ImageY = m_imageY;
    StoreName();
    return ok;
}

void CDlgAppletParam::StoreName() {
    m_component->Model().Name = FromQt(m_name);
    if (CDlgConfig* dialog = m_component->ConfigDialog())
        dialog->SetRootNodeLabel(m_name);
}

void CDlgAppletParam::OnNameFocusOut() {
    m_name = m_nameEdit->text();
    StoreName();
}

bool CDlgAppletParam::eventFilter(QObject* watched, QEvent* event) {
    // A window losing activation is not the user leaving the field; it also happens after
    // the dialog has closed, when nothing may be stored any more.
    if (watched == m_nameEdit && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason)
        OnNameFocusOut();
    return CPropertyPage::eventFilter(watched, event);
}

void CDlgAppletParam::OnBrowseImage() {
    ReadControls();
    CAppletParameters& model = m_component->Model();
    QString path;
    QString webPath;
    if (!ChooseWebPathFile(this, m_image, CWebPathFileDialog::kImageFilter,
                           ToQt(model.BackImageWebPath), &path, &webPath))
        return;
    m_image = path;
    model.BackImageWebPath = FromQt(webPath);
    FillControls();
}

void CDlgAppletParam::OnBrowseAudio() {
    ReadControls();
    CAppletParameters& model = m_component->Model();
    QString path;
    QString webPath;
    if (!ChooseWebPathFile(this, m_audio, CWebPathFileDialog::kAudioFilter,
                           ToQt(model.AudioWebPath), &path, &webPath))
        return;
    m_audio = path;
    model.AudioWebPath = FromQt(webPath);
    FillControls();
}

// Only the code base folder comes from the choice; the class file itself is always the applet's.
void CDlgAppletParam::OnBrowseClass() {
    ReadControls();
    CAppletParameters& model = m_component->Model();
    QString path;
    QString webPath;
    if (!ChooseWebPathFile(this, m_classFile, CWebPathFileDialog::kClassFilter, ToQt(model.WebPath),
                           &path, &webPath))
        return;
    model.WebPath = FromQt(webPath);
    FillControls();
}
