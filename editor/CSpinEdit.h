// A number field with spin buttons. Unlike QSpinBox it keeps whatever text the user leaves in
// it, so the page's reading pass can refuse it with the standard messages.
#pragma once

#include <QAbstractSpinBox>

class CSpinEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    // allowMinus: the field accepts a leading minus sign.
    CSpinEdit(int minimum, int maximum, bool allowMinus, QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);
    void SetValue(int value);
    int Minimum() const { return m_minimum; }
    int Maximum() const { return m_maximum; }

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;

signals:
    // The field's text changed, by typing, stepping or SetText.
    void TextChanged();

protected:
    StepEnabled stepEnabled() const override;

private:
    int m_minimum;
    int m_maximum;
    bool m_allowMinus;
};
