// A static text drawn as a link: underlined, blue, red while the pointer is over it; a click
// opens its target with the system's handler.
#pragma once

#include <QColor>
#include <QLabel>
#include <QString>

class CLinkLabel : public QLabel {
    Q_OBJECT

public:
    CLinkLabel(const QString& text, const QString& target, QWidget* parent = nullptr);

    const QString& Target() const { return m_target; }
    bool IsVisited() const { return m_visited; }
    bool IsHovered() const { return m_hovered; }
    QColor CurrentColor() const;

    // Opens the target; true (and visited) when a handler was started.
    bool Open();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ApplyColor();

    QString m_target;
    bool m_visited = false;
    bool m_hovered = false;
};
