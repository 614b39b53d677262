#pragma once

#include <QSpinBox>

// Up and down arrows that step a whole number, for a value that a text box beside them
// shows and edits: the spinner's own text field is hidden.
class UpDownSpinner : public QSpinBox
{
    Q_OBJECT

public:
    explicit UpDownSpinner(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
};
