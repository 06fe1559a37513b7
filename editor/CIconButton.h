// A flat button that draws an icon and an optional caption itself. In flat mode it shows an
// edge only while the pointer is over it.
#pragma once

#include <QColor>
#include <QIcon>
#include <QPushButton>

#include <optional>

class QPainter;

class CIconButton : public QPushButton {
    Q_OBJECT
public:
    explicit CIconButton(QWidget* parent = nullptr);
    CIconButton(const QString& text, QWidget* parent = nullptr);

    // One icon for both states, or a separate icon shown while hovering or pressed. The box is
    // the size the icon is drawn at. Redraws at once.
    void SetIcon(const QIcon& icon, quint8 width, quint8 height);
    void SetIcons(const QIcon& hoverIcon, const QIcon& normalIcon, quint8 width, quint8 height);

    // 0: icon left of the caption (centred without one); 1: icon centred above the caption.
    void SetIconLayout(int layout);
    int IconLayout() const { return m_iconLayout; }
    void SetShowText(bool show);
    bool ShowText() const { return m_showText; }
    void SetHoverBorder(bool on);
    bool HoverBorder() const { return m_hoverBorder; }
    void SetFlat(bool flat);
    bool Flat() const { return m_flat; }
    bool IsHovering() const { return m_hovering; }
    // The keys of the button's command, shown after the tooltip.
    void SetKeyHint(const QString& keys) { m_keyHint = keys; }
    QString ShownToolTip() const;
    quint8 IconWidth() const { return m_iconWidth; }
    quint8 IconHeight() const { return m_iconHeight; }

    void SetHoverColors(const QColor& background, const QColor& text);
    QColor NormalBackground() const;
    QColor NormalText() const;
    QColor HoverBackground() const;
    QColor HoverText() const;

    // Where the icon and the caption go inside the given face rectangle.
    QRect IconRect(const QRect& face) const;
    QRect CaptionRect(const QRect& face) const;

    // The distance of the focus rectangle from the button edge.
    static constexpr int kFocusInset = 3;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    QSize sizeHint() const override;

private:
    bool HasCaption() const;
    // The parts of a paint: the raised, sunken or hover edges of the face, then what it shows.
    void PaintEdges(QPainter& painter, const QRect& face, bool pressed) const;
    void PaintContent(QPainter& painter, const QRect& face, bool lit, bool pressed) const;
    void SetHovering(bool hovering);
    void Release();

    int m_iconLayout = 0;
    bool m_showText = true;
    bool m_hoverBorder = true;
    bool m_flat = true;
    bool m_hovering = false;
    bool m_capturing = false;
    QString m_keyHint;
    QIcon m_hoverIcon;
    QIcon m_normalIcon;
    quint8 m_iconWidth = 0;
    quint8 m_iconHeight = 0;
    // Unset hover colours follow the system button face and text, as the normal colours do.
    std::optional<QColor> m_hoverBackground;
    std::optional<QColor> m_hoverText;
};
