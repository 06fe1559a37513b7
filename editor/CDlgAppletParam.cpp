#include "CDlgAppletParam.h"

#include "CColorButton.h"
#include "CEditSession.h"
#include "CSpinEdit.h"
#include "CWebPathFileDialog.h"
#include "DataExchange.h"
#include "PageDialogs.h"
#include "PageLayout.h"
#include "RuntimeFiles.h"

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

CDlgAppletParam::CDlgAppletParam(CEditSession* session, QWidget* parent)
    : CRecordPage(tr("Applet Parameters"), session, parent), m_nameEdit(new QLineEdit),
      m_alignBox(new QComboBox), m_classEdit(new QLineEdit),
      m_widthEdit(new CSpinEdit(0, 5000, false)), m_heightEdit(new CSpinEdit(0, 5000, false)),
      m_backColorButton(new CColorButton), m_audioEdit(new QLineEdit), m_imageEdit(new QLineEdit),
      m_tileGroup(new QButtonGroup(this)), m_xEdit(DigitsEdit(this)), m_yEdit(DigitsEdit(this)) {
    m_classFile = ToQt(m_session->Model().LocalPath) + QString::fromUtf8(kAppletClassFile);
    m_alignBox->addItems({tr("Center"), tr("Left"), tr("Right")});
    m_classEdit->setReadOnly(true);
    m_classEdit->setText(m_classFile);
    m_nameEdit->installEventFilter(this);
    BuildLayout();

    connect(m_backColorButton, &QPushButton::clicked, m_backColorButton,
            &CColorButton::ChooseColor);
    connect(m_tileGroup, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            EnablePosition();
    });

    // Read in this order, so the first refusal is the topmost field.
    m_fields.Bind(TextField(m_nameEdit), &CAppletParameters::Name);
    m_fields.Bind(ChoiceField(m_alignBox), &CAppletParameters::Align);
    m_fields.Bind(RangeField(m_widthEdit, 0, 5000), &CAppletParameters::Width);
    m_fields.Bind(RangeField(m_heightEdit, 0, 5000), &CAppletParameters::Height);
    m_fields.Bind(ColorField(m_backColorButton), &CAppletParameters::BackColor);
    m_fields.Bind(TextField(m_audioEdit), &CAppletParameters::Audio);
    m_fields.Bind(TextField(m_imageEdit), &CAppletParameters::BackImage);
    m_fields.Bind(RadioField(m_tileGroup), &CAppletParameters::ImageTile);
    m_fields.Bind(NumberField(m_xEdit), &CAppletParameters::ImageX);
    m_fields.Bind(NumberField(m_yEdit), &CAppletParameters::ImageY);
    FinishFields();
}

void CDlgAppletParam::BuildLayout() {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    layout->addLayout(top);
    AddLabeledRow(top, 0, tr("Name:"), m_nameEdit);
    AddLabeledRow(top, 1, tr("Align:"), m_alignBox);

    auto* appletBox = new QGroupBox(tr("Applet"));
    auto* appletGrid = new QGridLayout(appletBox);
    AddLabeledRow(appletGrid, 0, tr("Web Path:"), m_classEdit);
    appletGrid->addWidget(BrowseButton(tr("Choose the applet class file's web folder"), this,
                                       [this] { OnBrowseClass(); }),
                          0, 2);
    AddLabeledRow(appletGrid, 1, tr("Width:"), m_widthEdit);
    AddLabeledRow(appletGrid, 2, tr("Height:"), m_heightEdit);
    layout->addWidget(appletBox);

    auto* backBox = new QGroupBox(tr("Background"));
    auto* backGrid = new QGridLayout(backBox);
    AddLabeledRow(backGrid, 0, tr("Color:"), m_backColorButton);
    AddLabeledRow(backGrid, 1, tr("Audio:"), m_audioEdit);
    backGrid->addWidget(
        BrowseButton(tr("Choose the background audio file"), this, [this] { OnBrowseAudio(); }), 1,
        2);
    AddLabeledRow(backGrid, 2, tr("Image:"), m_imageEdit);
    backGrid->addWidget(
        BrowseButton(tr("Choose the background image file"), this, [this] { OnBrowseImage(); }), 2,
        2);

    auto* displayBox = new QGroupBox(tr("Display Image"));
    auto* displayGrid = new QGridLayout(displayBox);
    auto* position = new QRadioButton(tr("Specify Position"));
    auto* tile = new QRadioButton(tr("Tile"));
    m_tileGroup->addButton(position, 0);
    m_tileGroup->addButton(tile, 1);
    displayGrid->addWidget(position, 0, 0, 1, 2);
    m_xLabel = AddLabeledRow(displayGrid, 1, tr("X Pos:"), m_xEdit);
    m_yLabel = AddLabeledRow(displayGrid, 2, tr("Y Pos:"), m_yEdit);
    displayGrid->addWidget(tile, 3, 0, 1, 2);
    backGrid->addWidget(displayBox, 3, 0, 1, 3);
    layout->addWidget(backBox);
    layout->addStretch();
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

CAppletParameters* CDlgAppletParam::RecordOf(const CEditTarget& target) const {
    return target.applet;
}

void CDlgAppletParam::Filled() {
    EnablePosition();
}

// The root node shows the applet's name.
void CDlgAppletParam::Stored(CAppletParameters& model) {
    emit m_session->AppletNameStored(ToQt(model.Name));
}

void CDlgAppletParam::OnNameFocusOut() {
    StoreField(m_nameEdit);
}

bool CDlgAppletParam::eventFilter(QObject* watched, QEvent* event) {
    // A window losing activation is not the user leaving the field; it also happens after
    // the dialog has closed, when nothing may be stored any more.
    if (watched == m_nameEdit && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason)
        OnNameFocusOut();
    return CPropertyPage::eventFilter(watched, event);
}

bool CDlgAppletParam::ChooseFile(const QString& fileName, const QString& filter,
                                 std::string CAppletParameters::*webPath, QString* path) {
    CDataExchange dx(this);
    m_fields.Read(dx);
    CAppletParameters& model = m_session->Model();
    QString chosenWebPath;
    if (!ChooseWebPathFile(this, fileName, filter, ToQt(model.*webPath), path, &chosenWebPath))
        return false;
    const std::string stored = FromQt(chosenWebPath);
    if (model.*webPath != stored) {
        model.*webPath = stored;
        emit ModelChanged();
    }
    return true;
}

void CDlgAppletParam::BrowseInto(QLineEdit* field, const QString& filter,
                                 std::string CAppletParameters::*webPath) {
    QString path;
    // Set as typing would set it: the chosen file is the author's edit, for the live view and
    // for the undo step the page makes when it stores.
    if (ChooseFile(field->text(), filter, webPath, &path))
        field->setText(path);
}

void CDlgAppletParam::OnBrowseImage() {
    BrowseInto(m_imageEdit, CWebPathFileDialog::kImageFilter, &CAppletParameters::BackImageWebPath);
}

void CDlgAppletParam::OnBrowseAudio() {
    BrowseInto(m_audioEdit, CWebPathFileDialog::kAudioFilter, &CAppletParameters::AudioWebPath);
}

// Only the code base folder comes from the choice; the class file itself is always the applet's.
void CDlgAppletParam::OnBrowseClass() {
    QString path;
    if (ChooseFile(m_classFile, CWebPathFileDialog::kClassFilter, &CAppletParameters::WebPath,
                   &path))
        ShowValues();
}
