// Drawing and behaviour of the shared editor controls, checked on offscreen images.
#include "CColorButton.h"
#include "CIconButton.h"
#include "CWebPathFileDialog.h"
#include "Prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

const QColor kBackdrop(255, 0, 255);

QImage Render(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(kBackdrop);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

QColor At(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y));
}

// Every colour the icon button draws with is distinct, so a pixel tells which rule drew it.
QPalette DistinctPalette() {
    QPalette pal;
    pal.setColor(QPalette::Button, QColor(200, 200, 200));
    pal.setColor(QPalette::ButtonText, QColor(10, 10, 120));
    pal.setColor(QPalette::Light, QColor(255, 255, 255));
    pal.setColor(QPalette::Midlight, QColor(230, 230, 230));
    pal.setColor(QPalette::Dark, QColor(128, 128, 128));
    pal.setColor(QPalette::Shadow, QColor(0, 0, 0));
    return pal;
}

QIcon SolidIcon(const QColor& color, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(color);
    return QIcon(pixmap);
}

void Move(QWidget& widget, QPoint pos, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent event(QEvent::MouseMove, QPointF(pos), widget.mapToGlobal(QPointF(pos)),
                      Qt::NoButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

struct PromptsGuard {
    ~PromptsGuard() { ui::resetPrompts(); }
};

struct RunnerGuard {
    ~RunnerGuard() { CWebPathFileDialog::DialogRunner() = nullptr; }
};

} // namespace

TEST(ColorButton, DrawsInsetSwatchAndRaisedOrPressedEdge) {
    CColorButton button;
    button.resize(40, 24);
    button.SetColor(0x00FF8040); // blue FF, green 80, red 40
    EXPECT_EQ(button.Color(), 0x00FF8040u);

    QImage up = Render(button);
    EXPECT_EQ(At(up, 20, 12), QColor(0x40, 0x80, 0xFF));
    EXPECT_EQ(At(up, 5, 5), QColor(0x40, 0x80, 0xFF));
    EXPECT_EQ(At(up, 34, 18), QColor(0x40, 0x80, 0xFF));
    // Between the edge and the swatch nothing is drawn.
    EXPECT_EQ(At(up, 3, 12), kBackdrop);
    EXPECT_EQ(At(up, 4, 4), kBackdrop);
    EXPECT_EQ(At(up, 35, 12), kBackdrop);
    // Two pixels: white left and top, black right and bottom.
    EXPECT_EQ(At(up, 0, 12), QColor(Qt::white));
    EXPECT_EQ(At(up, 1, 12), QColor(Qt::white));
    EXPECT_EQ(At(up, 20, 0), QColor(Qt::white));
    EXPECT_EQ(At(up, 20, 1), QColor(Qt::white));
    EXPECT_EQ(At(up, 39, 12), QColor(Qt::black));
    EXPECT_EQ(At(up, 38, 12), QColor(Qt::black));
    EXPECT_EQ(At(up, 20, 23), QColor(Qt::black));
    EXPECT_EQ(At(up, 20, 22), QColor(Qt::black));

    button.setDown(true);
    QImage down = Render(button);
    EXPECT_EQ(At(down, 0, 12), QColor(Qt::black));
    EXPECT_EQ(At(down, 1, 12), QColor(Qt::black));
    EXPECT_EQ(At(down, 20, 0), QColor(Qt::black));
    EXPECT_EQ(At(down, 39, 12), QColor(Qt::black));
    EXPECT_EQ(At(down, 20, 12), QColor(0x40, 0x80, 0xFF));

    button.setDown(false);
    EXPECT_EQ(Render(button), up);
}

TEST(ColorButton, DisabledDrawsNothing) {
    CColorButton button;
    button.resize(40, 24);
    button.SetColor(0x0000FF00);
    button.setEnabled(false);
    QImage image = Render(button);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(At(image, x, y), kBackdrop) << x << "," << y;
}

TEST(ColorButton, FocusRectangleOnTheSwatchBorder) {
    QWidget window;
    window.resize(100, 60);
    auto* button = new CColorButton(&window);
    button->setGeometry(10, 10, 40, 24);
    button->SetColor(0x00000000);
    window.show();
    window.activateWindow();
    button->setFocus();
    QApplication::processEvents();
    if (!button->hasFocus())
        GTEST_SKIP() << "the platform gives no keyboard focus";
    QImage focused = Render(*button);
    int marked = 0;
    for (int x = 5; x < 35; ++x)
        marked += At(focused, x, 5) != QColor(Qt::black) ? 1 : 0;
    EXPECT_GT(marked, 5);
    EXPECT_EQ(At(focused, 20, 12), QColor(Qt::black));

    button->clearFocus();
    QImage plain = Render(*button);
    for (int x = 5; x < 35; ++x)
        EXPECT_EQ(At(plain, x, 5), QColor(Qt::black));
}

TEST(ColorButton, ChooserIsPresetAndCancelKeepsTheColour) {
    PromptsGuard guard;
    CColorButton button;
    button.SetColor(0x00123456);
    QColor offered;
    bool answer = false;
    ui::prompts().pickColor = [&](QWidget*, QColor* color) {
        offered = *color;
        *color = QColor(1, 2, 3);
        return answer;
    };
    EXPECT_FALSE(button.ChooseColor());
    EXPECT_EQ(offered, QColor(0x56, 0x34, 0x12));
    EXPECT_EQ(button.Color(), 0x00123456u);

    answer = true;
    EXPECT_TRUE(button.ChooseColor());
    EXPECT_EQ(button.Color(), 0x00030201u);
}

TEST(WebPathFileDialog, NormalizesWebPaths) {
    EXPECT_EQ(NormalizeWebPath(""), "");
    EXPECT_EQ(NormalizeWebPath("images"), "images/");
    EXPECT_EQ(NormalizeWebPath("images/"), "images/");
    EXPECT_EQ(NormalizeWebPath("site\\img\\"), "site/img/");
    EXPECT_EQ(NormalizeWebPath("site\\img"), "site/img/");
    EXPECT_EQ(NormalizeWebPath("/"), "/");
}

TEST(WebPathFileDialog, RunnerSeesPresetsAndResultIsNormalized) {
    RunnerGuard guard;
    QString seenName, seenFilter, seenWeb;
    bool ok = true;
    CWebPathFileDialog::DialogRunner() = [&](CWebPathFileDialog& dialog) {
        seenName = dialog.FileNamePreset();
        seenFilter = dialog.Filter();
        seenWeb = dialog.WebPath();
        dialog.SetFilePath("/site/img/new.gif");
        dialog.SetWebPath("img\\sub");
        return ok;
    };
    CWebPathFileDialog dialog(nullptr, "/site/old.gif", CWebPathFileDialog::kImageFilter, "img/");
    ASSERT_TRUE(dialog.Run());
    EXPECT_EQ(seenName, "/site/old.gif");
    EXPECT_EQ(seenFilter, CWebPathFileDialog::kImageFilter);
    EXPECT_EQ(seenWeb, "img/");
    EXPECT_EQ(dialog.FilePath(), "/site/img/new.gif");
    EXPECT_EQ(dialog.WebPath(), "img/sub/");

    ok = false;
    EXPECT_FALSE(dialog.Run());
    EXPECT_EQ(dialog.FilePath(), "");
}

TEST(WebPathFileDialog, ChooserCarriesTheWebPathFieldAndFilters) {
    EXPECT_EQ(CWebPathFileDialog::QtFilter(CWebPathFileDialog::kImageFilter),
              "Image Files(*.GIF,*.JPG.*.JPEG) (*.gif *.jpg *.jpeg)");
    EXPECT_EQ(CWebPathFileDialog::QtFilter(CWebPathFileDialog::kAudioFilter),
              "Audio Files(*.au) (*.au)");
    EXPECT_EQ(CWebPathFileDialog::QtFilter(CWebPathFileDialog::kClassFilter),
              "Java Class(*.Class) (*.Class)");

    CWebPathFileDialog dialog(nullptr, "/nowhere/a.au", CWebPathFileDialog::kAudioFilter, "sounds");
    std::unique_ptr<QFileDialog> chooser(dialog.CreateChooser());
    EXPECT_TRUE(chooser->testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_EQ(chooser->fileMode(), QFileDialog::AnyFile);
    EXPECT_EQ(chooser->nameFilters(), QStringList{"Audio Files(*.au) (*.au)"});
    auto* edit = chooser->findChild<QLineEdit*>("webPath");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "sounds");
    // Every change of the field is taken over at once.
    edit->setText("media\\au");
    EXPECT_EQ(dialog.WebPath(), "media/au/");
}

TEST(IconButton, FlatEdgeOnlyWhileThePointerIsOver) {
    QWidget window;
    window.resize(120, 80);
    auto* button = new CIconButton(&window);
    button->setPalette(DistinctPalette());
    button->setGeometry(10, 10, 40, 40);
    button->SetHoverColors(QColor(250, 240, 200), QColor(0, 0, 0));
    window.show();

    QImage idle = Render(*button);
    EXPECT_EQ(At(idle, 0, 0), QColor(200, 200, 200));
    EXPECT_EQ(At(idle, 39, 39), QColor(200, 200, 200));

    Move(*button, QPoint(20, 20));
    EXPECT_TRUE(button->IsHovering());
    QImage hover = Render(*button);
    EXPECT_EQ(At(hover, 0, 20), QColor(255, 255, 255));
    EXPECT_EQ(At(hover, 20, 0), QColor(255, 255, 255));
    EXPECT_EQ(At(hover, 39, 20), QColor(128, 128, 128));
    EXPECT_EQ(At(hover, 20, 39), QColor(128, 128, 128));
    EXPECT_EQ(At(hover, 20, 20), QColor(250, 240, 200));

    // Pressed in flat mode: sunken, shadow left and top.
    button->setDown(true);
    QImage pressed = Render(*button);
    EXPECT_EQ(At(pressed, 0, 20), QColor(128, 128, 128));
    EXPECT_EQ(At(pressed, 39, 20), QColor(255, 255, 255));
    button->setDown(false);

    Move(*button, QPoint(60, 20));
    EXPECT_FALSE(button->IsHovering());
    EXPECT_EQ(Render(*button), idle);
    EXPECT_NE(QWidget::mouseGrabber(), button);

    // Without the hover border nothing marks the hover but the face colour.
    button->SetHoverBorder(false);
    Move(*button, QPoint(20, 20));
    EXPECT_TRUE(button->IsHovering());
    QImage plainHover = Render(*button);
    EXPECT_EQ(At(plainHover, 0, 20), QColor(250, 240, 200));
    Move(*button, QPoint(-5, 20));
    EXPECT_FALSE(button->IsHovering());
}

TEST(IconButton, MovementWithTheLeftButtonHeldDoesNotStartHovering) {
    QWidget window;
    window.resize(120, 80);
    auto* button = new CIconButton(&window);
    button->setGeometry(10, 10, 40, 40);
    window.show();
    Move(*button, QPoint(20, 20), Qt::LeftButton);
    EXPECT_FALSE(button->IsHovering());
    Move(*button, QPoint(20, 20));
    EXPECT_TRUE(button->IsHovering());
    // Outside with the button held: the hover ends.
    Move(*button, QPoint(80, 20), Qt::LeftButton);
    EXPECT_FALSE(button->IsHovering());
}

TEST(IconButton, ClassicModeHasTheTwoPixelRaisedEdge) {
    CIconButton button;
    button.setPalette(DistinctPalette());
    button.resize(40, 30);
    button.SetFlat(false);
    QImage up = Render(button);
    EXPECT_EQ(At(up, 0, 15), QColor(255, 255, 255));
    EXPECT_EQ(At(up, 1, 15), QColor(230, 230, 230));
    EXPECT_EQ(At(up, 39, 15), QColor(0, 0, 0));
    EXPECT_EQ(At(up, 38, 15), QColor(128, 128, 128));
    EXPECT_EQ(At(up, 20, 29), QColor(0, 0, 0));
    EXPECT_EQ(At(up, 20, 28), QColor(128, 128, 128));

    button.setDown(true);
    QImage down = Render(button);
    EXPECT_EQ(At(down, 0, 15), QColor(128, 128, 128));
    EXPECT_EQ(At(down, 39, 15), QColor(128, 128, 128));
    EXPECT_EQ(At(down, 1, 15), QColor(200, 200, 200));
}

TEST(IconButton, IconPlacementPressOffsetAndGreyedDisabled) {
    CIconButton button;
    button.setPalette(DistinctPalette());
    button.resize(40, 40);
    button.SetIcon(SolidIcon(QColor(255, 0, 0), 16), 16, 16);

    // Without a caption the icon is centred.
    EXPECT_EQ(button.IconRect(button.rect()), QRect(12, 12, 16, 16));
    QImage centred = Render(button);
    EXPECT_EQ(At(centred, 12, 12), QColor(255, 0, 0));
    EXPECT_EQ(At(centred, 27, 27), QColor(255, 0, 0));
    EXPECT_EQ(At(centred, 11, 12), QColor(200, 200, 200));

    button.setDown(true);
    QImage pressed = Render(button);
    EXPECT_EQ(At(pressed, 12, 12), QColor(200, 200, 200));
    EXPECT_EQ(At(pressed, 13, 13), QColor(255, 0, 0));
    EXPECT_EQ(At(pressed, 28, 28), QColor(255, 0, 0));
    button.setDown(false);

    button.setEnabled(false);
    QImage disabled = Render(button);
    EXPECT_NE(At(disabled, 20, 20), QColor(255, 0, 0));

    // With a caption: 3 pixels from the left, caption to the right; layout 1 puts it on top.
    button.setText("OK");
    button.resize(80, 40);
    EXPECT_EQ(button.IconRect(button.rect()), QRect(3, 12, 16, 16));
    EXPECT_EQ(button.CaptionRect(button.rect()).left(), 19);
    button.SetIconLayout(1);
    EXPECT_EQ(button.IconRect(button.rect()), QRect(32, 0, 16, 16));
    EXPECT_EQ(button.CaptionRect(button.rect()).top(), 16);
    button.SetShowText(false);
    EXPECT_EQ(button.IconRect(button.rect()), QRect(32, 12, 16, 16));
}

TEST(IconButton, HoverIconReplacesTheNormalIcon) {
    QWidget window;
    window.resize(100, 100);
    auto* button = new CIconButton(&window);
    button->setGeometry(0, 0, 40, 40);
    button->SetIcons(SolidIcon(QColor(0, 255, 0), 16), SolidIcon(QColor(0, 0, 255), 16), 16, 16);
    window.show();
    EXPECT_EQ(At(Render(*button), 20, 20), QColor(0, 0, 255));
    Move(*button, QPoint(5, 5));
    EXPECT_EQ(At(Render(*button), 20, 20), QColor(0, 255, 0));
}
