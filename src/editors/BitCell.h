#pragma once

#include <QWidget>

// One bit of a register row: the bit's name over a small square that is filled when the
// bit is 1 and hollow when it is 0. A click, or Space while it has the focus, raises
// clicked(); the row decides whether that toggles the bit.
class BitCell : public QWidget
{
    Q_OBJECT

public:
    explicit BitCell(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    bool isSet() const { return m_set; }
    void setSet(bool on);
    // A cell that is not operable takes neither clicks nor the focus.
    void setOperable(bool on);

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString m_text;
    bool m_set = false;
    bool m_operable = true;
};
