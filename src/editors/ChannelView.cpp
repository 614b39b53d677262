#include "ChannelView.h"

#include "ChannelLists.h"
#include "OptionGroup.h"
#include "SetupTotals.h"
#include "controls/CommitLineEdit.h"
#include "controls/UpDownSpinner.h"
#include "model/NumericText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>

namespace {

const QColor FlagSet(230, 30, 30);
const QColor FlagClear(Qt::white);

QLabel *flagLabel(const QString &text, const QString &tip, int x, int width, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setToolTip(tip);
    label->setGeometry(x, 0, width, ChannelView::RowHeight - 4);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

ChannelView::ChannelView(const QM4168 &model, int variant, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_variant(variant)
{
    setFixedSize(RowWidth, RowHeight);
    const int h = RowHeight - 4;
    const int y = 2;

    LblChannelName = new QLabel(this);
    LblChannelName->setObjectName(QStringLiteral("LblChannelName"));
    LblChannelName->setGeometry(NameX, y, EnableX - NameX, h);
    ChkEnable = new QCheckBox(this);
    ChkEnable->setObjectName(QStringLiteral("ChkEnable"));
    ChkEnable->setGeometry(EnableX, y, 18, h);
    CmbRanges = new QComboBox(this);
    CmbRanges->setObjectName(QStringLiteral("CmbRanges"));
    CmbRanges->setGeometry(RangesX, y, BufferX - RangesX - 4, h);
    ChkBuffered = new QCheckBox(this);
    ChkBuffered->setObjectName(QStringLiteral("ChkBuffered"));
    ChkBuffered->setGeometry(BufferX + 4, y, 18, h);
    CmbInput = new QComboBox(this);
    CmbInput->setObjectName(QStringLiteral("CmbInput"));
    CmbInput->setGeometry(InputX, y, ZsX - InputX - 10, h);
    optZsCalibration = new QRadioButton(this);
    optZsCalibration->setObjectName(QStringLiteral("optZsCalibration"));
    optZsCalibration->setGeometry(ZsX, y, 18, h);
    optFsCalibration = new QRadioButton(this);
    optFsCalibration->setObjectName(QStringLiteral("optFsCalibration"));
    optFsCalibration->setGeometry(FsX, y, 18, h);
    optSingleConv = new QRadioButton(this);
    optSingleConv->setObjectName(QStringLiteral("optSingleConv"));
    optSingleConv->setGeometry(SingleX + 10, y, 18, h);
    const QList<QPair<QRadioButton *, QString>> operations = {
        {optZsCalibration, QStringLiteral("Zero Scale System Calibration")},
        {optFsCalibration, QStringLiteral("Full Scale System Calibration")},
        {optSingleConv, QStringLiteral("Single Conversion")}};
    m_operations = new QButtonGroup(this);
    // The options carry their captions; the row has room for the indicators only, and the
    // column headings above ("ZS", "FS", "Single Conv.") say what they are.
    for (const auto &option : operations) {
        option.first->setText(option.second);
        option.first->setToolTip(option.second);
        option.first->setAccessibleName(option.second);
    }
    m_operations->addButton(optSingleConv, 2);
    m_operations->addButton(optZsCalibration, 6);
    m_operations->addButton(optFsCalibration, 7);
    ChkChop = new QCheckBox(this);
    ChkChop->setObjectName(QStringLiteral("ChkChop"));
    ChkChop->setGeometry(ChopX, y, 18, h);
    TxtConvTime = new CommitLineEdit(this);
    TxtConvTime->setObjectName(QStringLiteral("TxtConvTime"));
    TxtConvTime->setGeometry(TimeX, y, 58, h);
    TxtConvTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtus = new QLabel(QStringLiteral("us"), this);
    txtus->setObjectName(QStringLiteral("txtus"));
    txtus->setGeometry(TimeX + 60, y, 14, h);
    updConvTime = new UpDownSpinner(this);
    updConvTime->setObjectName(QStringLiteral("updConvTime"));
    updConvTime->setGeometry(TimeX + 75, y, 16, h);
    updConvTime->setRange(-1, 1);
    updConvTime->setValue(0);

    PicData = new QWidget(this);
    PicData->setObjectName(QStringLiteral("PicData"));
    PicData->setGeometry(DataX - 2, y, RowWidth - DataX + 2, h);
    PicData->setAutoFillBackground(true);
    QPalette dark = PicData->palette();
    dark.setColor(QPalette::Window, QColor(60, 60, 60));
    dark.setColor(QPalette::WindowText, FlagClear);
    PicData->setPalette(dark);
    TxtData = new QLabel(QStringLiteral("0"), PicData);
    TxtData->setObjectName(QStringLiteral("TxtData"));
    TxtData->setGeometry(2, 0, StatusX - DataX - 4, h);
    TxtData->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    TxtData->setToolTip(QStringLiteral("Data"));
    TxtData->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const int flags = StatusX - DataX + 2;
    lblRdy = flagLabel(QStringLiteral("Rdy"), QStringLiteral("Ready Bit"), flags, 28, PicData);
    lblRdy->setObjectName(QStringLiteral("lblRdy"));
    LblNoRef = flagLabel(QStringLiteral("NoRef"), QStringLiteral("No Reference"), flags + 30, 42, PicData);
    LblNoRef->setObjectName(QStringLiteral("LblNoRef"));
    LblOverRange = flagLabel(QStringLiteral("+Ovr"), QStringLiteral("Over Range"), flags + 74, 36, PicData);
    LblOverRange->setObjectName(QStringLiteral("LblOverRange"));
    lblUnderRange = flagLabel(QStringLiteral("-Ovr"), QStringLiteral("Under Range"), flags + 74, 36, PicData);
    lblUnderRange->setObjectName(QStringLiteral("lblUnderRange"));
    lblUnderRange->hide();
    for (QLabel *flag : {lblRdy, LblNoRef, LblOverRange, lblUnderRange})
        showFlag(flag, false);

    connect(ChkBuffered, &QCheckBox::clicked, this, &ChannelView::BufEdited);
    connect(CmbInput, &QComboBox::activated, this, [this](int entry) {
        if (!ChannelLists::inputsLocked(m_variant))
            Q_EMIT ComEdited(ChannelLists::comOfEntry(entry));
    });
    connect(ChkEnable, &QCheckBox::clicked, this, &ChannelView::EnableEdited);
    connect(CmbRanges, &QComboBox::activated, this, [this](int entry) {
        const int code = ChannelLists::rangeCode(m_variant, entry);
        if (code >= 0)
            Q_EMIT RngEdited(code);
    });
    // Every Enter and every loss of focus reports the box's time, edited or not; Enter then
    // moves on to the chop box, so one Enter reports twice. The owner writes only a time
    // that differs from the model's as shown.
    TxtConvTime->setCommitsUnchanged(true);
    connect(TxtConvTime, &QLineEdit::returnPressed, this, [this] { ChkChop->setFocus(Qt::TabFocusReason); });
    connect(TxtConvTime, &CommitLineEdit::committed, this,
            [this] { Q_EMIT ConvTimeEdited(numericValue(TxtConvTime->text())); });
    TxtConvTime->installEventFilter(this);
    connect(ChkChop, &QCheckBox::clicked, this, &ChannelView::ChopEdited);
    connect(updConvTime, &QSpinBox::valueChanged, this, &ChannelView::onSpinner);
    connect(m_operations, &QButtonGroup::idClicked, this, &ChannelView::MdEdited);

    setChannelNumber(0);
}

void ChannelView::setChannelNumber(int channel)
{
    m_channel = channel;
    LblChannelName->setText(QStringLiteral("Ch %1").arg(channel));
    BuildChannelLists();
}

void ChannelView::BuildChannelLists()
{
    const QStringList ranges = ChannelLists::rangeTexts(m_model, m_variant);
    const QStringList inputs = ChannelLists::inputTexts(m_variant, m_channel);
    if (ranges.isEmpty() && inputs.isEmpty())
        return;
    auto write = [](QComboBox *list, const QStringList &texts) {
        for (int i = 0; i < texts.size(); ++i) {
            if (i < list->count())
                list->setItemText(i, texts.at(i));
            else
                list->addItem(texts.at(i));
        }
    };
    write(CmbRanges, ranges);
    write(CmbInput, inputs);
    // A locked list holds its one input, drawn as plainly as a selectable one.
    ChkBuffered->setVisible(ChannelLists::hasBuffer(m_variant));
    if (ChannelLists::inputsLocked(m_variant))
        CmbInput->setCurrentIndex(0);
    if (m_variant == 2)
        CmbInput->setGeometry(BufferX, CmbInput->y(), ZsX - BufferX - 10, CmbInput->height());
}

void ChannelView::setRegData(qint32 data)
{
    TxtData->setText(QString::number(data));
}

void ChannelView::showFlag(QLabel *flag, bool on)
{
    QPalette colours = flag->palette();
    colours.setColor(QPalette::WindowText, on ? FlagSet : FlagClear);
    flag->setPalette(colours);
    flag->setProperty("flagSet", on);
}

void ChannelView::setRdy(bool on)
{
    showFlag(lblRdy, on);
}

void ChannelView::setNoRef(bool on)
{
    showFlag(LblNoRef, on);
}

void ChannelView::setOvr(bool on)
{
    lblUnderRange->hide();
    LblOverRange->show();
    showFlag(LblOverRange, on);
}

void ChannelView::setUndr(bool on)
{
    if (on) {
        LblOverRange->hide();
        lblUnderRange->show();
        showFlag(lblUnderRange, true);
    } else {
        lblUnderRange->hide();
        LblOverRange->show();
        showFlag(LblOverRange, false);
    }
}

void ChannelView::setBuf(bool on)
{
    ChkBuffered->setChecked(on);
}

void ChannelView::setCom(int com)
{
    if (ChannelLists::inputsLocked(m_variant))
        return;
    const int entry = ChannelLists::entryOfCom(com);
    if (entry >= 0 && entry < CmbInput->count())
        CmbInput->setCurrentIndex(entry);
}

void ChannelView::setEnable(bool on)
{
    ChkEnable->setChecked(on);
    // A disabled channel's name fades into the background, still readable.
    QPalette colours = LblChannelName->palette();
    colours.setColor(QPalette::WindowText,
                     on ? palette().color(QPalette::WindowText) : QColor(150, 150, 150));
    LblChannelName->setPalette(colours);
}

void ChannelView::setRng(int code)
{
    const int entry = ChannelLists::rangeEntry(m_variant, code);
    if (entry >= 0 && entry < CmbRanges->count())
        CmbRanges->setCurrentIndex(entry);
}

void ChannelView::setChop(bool on)
{
    ChkChop->setChecked(on);
}

double ChannelView::ConversionTime() const
{
    return numericValue(TxtConvTime->text());
}

void ChannelView::setConversionTime(double microseconds)
{
    TxtConvTime->setText(SetupTotals::boxText(microseconds));
}

void ChannelView::setMd(int mode)
{
    selectOption(m_operations, mode == 2 || mode == 6 || mode == 7 ? mode : -1);
}

void ChannelView::onSpinner(int step)
{
    if (step == 0)
        return;
    {
        const QSignalBlocker blocker(updConvTime);
        updConvTime->setValue(0);
    }
    if (step > 0)
        Q_EMIT ConvTimeUp();
    else
        Q_EMIT ConvTimeDown();
}

bool ChannelView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == TxtConvTime && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Q_EMIT(key == Qt::Key_Up ? ConvTimeUp() : ConvTimeDown());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ChannelView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (LblChannelName->geometry().contains(event->position().toPoint()))
        Q_EMIT EnableEdited(!ChkEnable->isChecked());
    QWidget::mouseDoubleClickEvent(event);
}
