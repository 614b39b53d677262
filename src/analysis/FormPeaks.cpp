#include "FormPeaks.h"

#include "controls/CommitLineEdit.h"
#include "controls/UpDownSpinner.h"
#include "data/ClassData.h"
#include "model/NumericText.h"
#include "model/Rounding.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FormPeaks::FormPeaks(ClassData &data, QWidget *parent)
    : QWidget(parent)
    , IData(data)
{
    setObjectName(QStringLiteral("FormPeaks"));
    setWindowTitle(QStringLiteral("Peaks"));

    auto *frame = new QGroupBox(QStringLiteral("Remove Peaks"), this);
    txtValue = new CommitLineEdit(frame);
    txtValue->setObjectName(QStringLiteral("txtValue"));
    txtValue->setMaximumWidth(60);
    UpDown = new UpDownSpinner(frame);
    UpDown->setObjectName(QStringLiteral("UpDown"));
    UpDown->setRange(0, 32000);
    UpDown->setSingleStep(1);
    lblLimit = new QLabel(QStringLiteral("x RMS"), frame);
    lblLimit->setObjectName(QStringLiteral("lblLimit"));
    ChkAutoRemovePeaks = new QCheckBox(QStringLiteral("Auto Remove"), frame);
    ChkAutoRemovePeaks->setObjectName(QStringLiteral("ChkAutoRemovePeaks"));
    CommandRemovePeaks = new QPushButton(QStringLiteral("Remove"), frame);
    CommandRemovePeaks->setObjectName(QStringLiteral("CommandRemovePeaks"));

    auto *limit = new QHBoxLayout;
    limit->setSpacing(0);
    limit->addWidget(txtValue);
    limit->addWidget(UpDown);
    limit->addSpacing(6);
    limit->addWidget(lblLimit);
    limit->addStretch(1);
    auto *inner = new QVBoxLayout(frame);
    inner->addLayout(limit);
    inner->addWidget(ChkAutoRemovePeaks);
    inner->addWidget(CommandRemovePeaks);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    UpDown->setValue(IData.PeaksLimit());
    txtValue->setText(QString::number(UpDown->value()));
    ChkAutoRemovePeaks->setChecked(IData.PeaksAutoRemove());

    connect(UpDown, &QSpinBox::valueChanged, this, [this](int value) {
        txtValue->setText(QString::number(value));
        IData.setPeaksLimit(value);
    });
    connect(txtValue, &CommitLineEdit::committed, this, &FormPeaks::onTextCommitted);
    connect(ChkAutoRemovePeaks, &QCheckBox::clicked, this,
            [this](bool checked) { IData.setPeaksAutoRemove(checked); });
    connect(CommandRemovePeaks, &QPushButton::clicked, this, [this] {
        IData.PeaksRemove();
        IData.Update();
    });
}

void FormPeaks::onTextCommitted()
{
    // The spinner keeps the limit within 0..32000; the box always ends up showing it.
    UpDown->setValue(roundToInt(numericValue(txtValue->text())));
    txtValue->setText(QString::number(UpDown->value()));
}
