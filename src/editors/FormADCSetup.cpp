#include "FormADCSetup.h"

#include "ChannelEdits.h"
#include "ChannelView.h"
#include "FrameFit.h"
#include "OptionGroup.h"
#include "SetupPaging.h"
#include "SetupTotals.h"
#include "SetupWords.h"
#include "model/QM4168.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>

namespace {

QGroupBox *group(const QString &caption, const QRect &place, QWidget *parent)
{
    auto *box = new QGroupBox(caption, parent);
    box->setGeometry(place);
    return box;
}

template<typename T>
T *placed(T *widget, const char *name, int x, int y, int width, int height = 18)
{
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, width, height);
    return widget;
}

QLineEdit *readOnlyBox(const QString &text, QWidget *parent)
{
    auto *box = new QLineEdit(text, parent);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return box;
}

bool globalMode(int mode)
{
    return mode == 0 || mode == 1 || mode == 3 || mode == 4 || mode == 5;
}

} // namespace

FormADCSetup::FormADCSetup(QM4168 &model, QWidget *parent)
    : QWidget(parent)
    , IADC(model)
    , m_paging(new SetupPaging(FirstRowTop + BottomMargin, FirstRowTop, ChannelView::RowHeight,
                               model.MaxChannel(), model.EvBoard()))
{
    setObjectName(QStringLiteral("FormADCSetup"));
    setWindowTitle(QStringLiteral("ADC Setup"));
    QFont compact = font();
    compact.setPointSizeF(8.5);
    setFont(compact);

    buildUpperArea();
    buildHeadings();
    for (int i = 0; i < 8; ++i) {
        auto *view = new ChannelView(IADC, IADC.EvBoard(), this);
        view->setObjectName(QStringLiteral("ChannelView%1").arg(i));
        view->setChannelNumber(i);
        ChannelViews[i] = view;
        connectRow(view, i);
    }
    VScroll = new QScrollBar(Qt::Vertical, this);
    VScroll->setObjectName(QStringLiteral("VScroll"));
    connect(VScroll, &QScrollBar::valueChanged, this, &FormADCSetup::applyPaging);

    Load();
    connectModel();
}

FormADCSetup::~FormADCSetup()
{
    delete m_paging;
}

void FormADCSetup::buildUpperArea()
{
    QGroupBox *io = group(QStringLiteral("I/O Port"), QRect(4, 2, 250, 82), this);
    lblP0Name = placed(new QLabel(QStringLiteral("P0"), io), "lblP0Name", 8, 22, 16);
    lblP0 = placed(new QPushButton(QStringLiteral("0"), io), "lblP0", 24, 20, 22, 22);
    lblP0Dir = placed(new QPushButton(QStringLiteral("Output"), io), "lblP0Dir", 48, 20, 54, 22);
    lblP1Name = placed(new QLabel(QStringLiteral("P1"), io), "lblP1Name", 8, 48, 16);
    lblP1 = placed(new QPushButton(QStringLiteral("0"), io), "lblP1", 24, 46, 22, 22);
    lblP1Dir = placed(new QPushButton(QStringLiteral("Output"), io), "lblP1Dir", 48, 46, 54, 22);
    for (QPushButton *pin : {lblP0, lblP1})
        pin->setToolTip(QStringLiteral("Pin level (click to change an output)"));
    for (QPushButton *dir : {lblP0Dir, lblP1Dir})
        dir->setToolTip(QStringLiteral("Pin direction (click to change)"));
    chkSync = placed(new QCheckBox(QStringLiteral("Sync"), io), "chkSync", 106, 18, 140);
    OptRdyFn0 =
        placed(new QRadioButton(QStringLiteral("RDY pin after any ch"), io), "OptRdyFn0", 106, 38, 142);
    OptRdyFn1 =
        placed(new QRadioButton(QStringLiteral("RDY pin after all chs"), io), "OptRdyFn1", 106, 58, 142);
    m_rdyFn = new QButtonGroup(this);
    m_rdyFn->addButton(OptRdyFn0, 0);
    m_rdyFn->addButton(OptRdyFn1, 1);
    ChkRedPWR = placed(new QCheckBox(QStringLiteral("Reduced Power Mode"), this), "ChkRedPWR", 10, 88, 200);

    QGroupBox *mode = group(QStringLiteral("Mode"), QRect(258, 2, 148, 110), this);
    Opt16 = placed(new QRadioButton(QStringLiteral("16 Bits Data"), mode), "Opt16", 8, 16, 136, 16);
    Opt24 = placed(new QRadioButton(QStringLiteral("24 Bits Data"), mode), "Opt24", 8, 31, 136, 16);
    m_width = new QButtonGroup(this);
    m_width->addButton(Opt16, 2);
    m_width->addButton(Opt24, 3);
    chkClamp = placed(new QCheckBox(QStringLiteral("Clamp"), mode), "chkClamp", 8, 46, 136, 16);
    chkDump = placed(new QCheckBox(QStringLiteral("Dump (Status+Data)"), mode), "chkDump", 8, 61, 136, 16);
    chkClkDis = placed(new QCheckBox(QStringLiteral("MCLK Disable"), mode), "chkClkDis", 8, 76, 136, 16);
    chkContRd = placed(new QCheckBox(QStringLiteral("Continuous Read"), mode), "chkContRd", 8, 91, 136, 16);

    QGroupBox *operation = group(QStringLiteral("Mode - Operation"), QRect(410, 2, 140, 110), this);
    m_operation = new QButtonGroup(this);
    const struct
    {
        QRadioButton **option;
        const char *name;
        int code;
    } options[] = {{&optIdle, "optIdle", 0},
                   {&optContConv, "optContConv", 1},
                   {&optStandby, "optStandby", 3},
                   {&OptZSCal, "OptZSCal", 4},
                   {&optFSCal, "optFSCal", 5}};
    int y = 16;
    for (const auto &o : options) {
        *o.option =
            placed(new QRadioButton(SetupWords::operationName(o.code), operation), o.name, 8, y, 128, 16);
        m_operation->addButton(*o.option, o.code);
        y += 18;
    }

    QGroupBox *time = group(QStringLiteral("Conversion Time"), QRect(554, 2, 108, 110), this);
    placed(new QLabel(QStringLiteral("Output Rate"), time), "LblOutputRate", 8, 16, 96, 16);
    txtOutUpdateHz = placed(readOnlyBox(QStringLiteral("0"), time), "txtOutUpdateHz", 6, 33, 68, 22);
    auto *hz = placed(readOnlyBox(QStringLiteral("Hz"), time), "TxtUnitHz", 76, 33, 26, 22);
    placed(new QLabel(QStringLiteral("Total Time"), time), "LblTotalTime", 8, 60, 96, 16);
    TxtOutputRate = placed(readOnlyBox(QStringLiteral("0"), time), "TxtOutputRate", 6, 77, 68, 22);
    auto *us = placed(readOnlyBox(QStringLiteral("us"), time), "TxtUnitUs", 76, 77, 26, 22);
    for (QLineEdit *unit : {hz, us}) {
        unit->setToolTip(QStringLiteral("Unit (us or Hz)"));
        unit->setAlignment(Qt::AlignCenter);
        unit->setFocusPolicy(Qt::NoFocus);
    }
    txtOutUpdateHz->setToolTip(QStringLiteral("Output Rate"));
    TxtOutputRate->setToolTip(QStringLiteral("Total Time"));

    connect(lblP0Dir, &QPushButton::clicked, this, [this] { IADC.setP0Dir(!IADC.P0Dir()); });
    connect(lblP1Dir, &QPushButton::clicked, this, [this] { IADC.setP1Dir(!IADC.P1Dir()); });
    connect(lblP0, &QPushButton::clicked, this, [this] {
        if (!IADC.P0Dir())
            IADC.setP0(!IADC.P0());
    });
    connect(lblP1, &QPushButton::clicked, this, [this] {
        if (!IADC.P1Dir())
            IADC.setP1(!IADC.P1());
    });
    connect(chkSync, &QCheckBox::clicked, this, [this](bool on) {
        if (on != IADC.Sync())
            IADC.setSync(on);
    });
    connect(ChkRedPWR, &QCheckBox::clicked, this, [this](bool on) {
        if (on != IADC.RedPWR())
            IADC.setRedPWR(on);
    });
    connect(m_rdyFn, &QButtonGroup::idClicked, this, [this] {
        if (OptRdyFn1->isChecked() != IADC.RdyFn())
            IADC.setRdyFn(OptRdyFn1->isChecked());
    });
    connect(chkClamp, &QCheckBox::clicked, this,
            [this] { onBox(chkClamp, &QM4168::Clamp, &QM4168::setClamp); });
    connect(chkDump, &QCheckBox::clicked, this, [this] { onBox(chkDump, &QM4168::Dump, &QM4168::setDump); });
    connect(chkClkDis, &QCheckBox::clicked, this,
            [this] { onBox(chkClkDis, &QM4168::ClkDis, &QM4168::setClkDis); });
    connect(chkContRd, &QCheckBox::clicked, this, [this](bool on) {
        // Always through the mode register at 38h, whichever channel is current.
        if (on != IADC.ContRd(-1))
            IADC.setContRd(0, on);
    });
    connect(m_width, &QButtonGroup::idClicked, this, [this](int width) {
        if (IADC.DataWidth(-1) != width)
            IADC.setDataWidth(-1, width);
    });
    connect(m_operation, &QButtonGroup::idClicked, this, [this](int code) {
        if (IADC.Md(-1) != code)
            IADC.setMd(IADC.Channel(), code);
    });
}

void FormADCSetup::onBox(QCheckBox *box, bool (QM4168::*get)(int) const, void (QM4168::*set)(int, bool))
{
    if (box->isChecked() != (IADC.*get)(-1))
        (IADC.*set)(-1, box->isChecked());
}

void FormADCSetup::buildHeadings()
{
    const int top = 114;
    const int height = FirstRowTop - top - 2;
    auto frame = [&](const QString &caption, int from, int to) {
        return group(caption, QRect(RowsX + from, top, to - from, height), this);
    };
    auto caption = [](const QString &text, QGroupBox *box, int rowX, int y, int width) {
        auto *label = new QLabel(text, box);
        label->setGeometry(RowsX + rowX - box->x(), y, width, 16);
        return label;
    };
    const int line = height - 18;
    QGroupBox *setup = frame(QStringLiteral("Channel Setup"), 0, ChannelView::ZsX - 4);
    caption(QStringLiteral("En."), setup, ChannelView::EnableX - 4, line, 24);
    caption(QStringLiteral("Input Range"), setup, ChannelView::RangesX, line, 76);
    LblBufOff = caption(QStringLiteral("BufOff"), setup, ChannelView::BufferX - 4, line, 36);
    LblInputSelection = caption(QStringLiteral("Input Selection"), setup, ChannelView::InputX + 14, line, 92);

    QGroupBox *operation =
        frame(QStringLiteral("Mode - Operation"), ChannelView::ZsX - 4, ChannelView::ChopX - 4);
    caption(QStringLiteral("System Cal."), operation, ChannelView::ZsX - 6, line - 14, 64);
    caption(QStringLiteral("ZS"), operation, ChannelView::ZsX + 1, line, 20);
    caption(QStringLiteral("FS"), operation, ChannelView::FsX + 1, line, 20);
    QLabel *single =
        caption(QStringLiteral("Single Conv."), operation, ChannelView::SingleX + 6, line - 14, 40);
    single->setWordWrap(true);
    single->setFixedHeight(30);

    QGroupBox *time =
        frame(QStringLiteral("Conversion Time"), ChannelView::ChopX - 4, ChannelView::DataX - 4);
    caption(QStringLiteral("Chop"), time, ChannelView::ChopX - 8, line, 30);
    caption(QStringLiteral("Channel Time"), time, ChannelView::TimeX + 6, line, 80);

    QGroupBox *response =
        frame(QStringLiteral("ADC Response"), ChannelView::DataX - 4, ChannelView::RowWidth);
    caption(QStringLiteral("Data"), response, ChannelView::DataX + 20, line, 40);
    caption(QStringLiteral("Status"), response, ChannelView::StatusX + 36, line, 50);
}

void FormADCSetup::connectRow(ChannelView *view, int i)
{
    connect(view, &ChannelView::BufEdited, this, [this, i](bool on) {
        if (on != IADC.Buf(i)) {
            IADC.setBuf(i, on);
            IADC.setChannel(i);
        }
    });
    connect(view, &ChannelView::ComEdited, this, [this, i](int com) {
        if (com != IADC.Com(i)) {
            IADC.setCom(i, com);
            IADC.setChannel(i);
        }
    });
    connect(view, &ChannelView::EnableEdited, this,
            [this, i](bool on) { ChannelEdits::setEnable(IADC, i, on); });
    connect(view, &ChannelView::RngEdited, this,
            [this, i](int rng) { ChannelEdits::setRange(IADC, i, rng); });
    connect(view, &ChannelView::ChopEdited, this, [this, i](bool on) { ChannelEdits::setChop(IADC, i, on); });
    connect(view, &ChannelView::ConvTimeEdited, this, [this, view, i](double t) {
        // An entry that writes nothing: the box and the totals show again the time the
        // converter runs at.
        if (!ChannelEdits::setConversionTime(IADC, i, t)) {
            view->setConversionTime(IADC.ConversionTime(i));
            UpdateOutputRate();
        }
    });
    connect(view, &ChannelView::ConvTimeUp, this, [this, i] {
        IADC.setChannel(i);
        IADC.ConversionTimeUp(i);
    });
    connect(view, &ChannelView::ConvTimeDown, this, [this, i] {
        IADC.setChannel(i);
        IADC.ConversionTimeDown(i);
    });
    connect(view, &ChannelView::MdEdited, this, [this, i](int mode) {
        if (IADC.Channel() != i || IADC.Md(i) != mode)
            IADC.setMd(i, mode);
    });
}

void FormADCSetup::connectModel()
{
    QM4168 *m = &IADC;
    connect(m, &QM4168::P0Changed, this, &FormADCSetup::IADC_P0Changed);
    connect(m, &QM4168::P1Changed, this, &FormADCSetup::IADC_P1Changed);
    connect(m, &QM4168::P0DirChanged, this, &FormADCSetup::IADC_P0DirChanged);
    connect(m, &QM4168::P1DirChanged, this, &FormADCSetup::IADC_P1DirChanged);
    connect(m, &QM4168::RdyFnChanged, this, &FormADCSetup::IADC_RdyFnChanged);
    connect(m, &QM4168::SyncChanged, chkSync, &QCheckBox::setChecked);
    connect(m, &QM4168::RedPWRChanged, ChkRedPWR, &QCheckBox::setChecked);
    connect(m, &QM4168::ClampChanged, chkClamp, &QCheckBox::setChecked);
    connect(m, &QM4168::DumpChanged, chkDump, &QCheckBox::setChecked);
    connect(m, &QM4168::ClkDisChanged, chkClkDis, &QCheckBox::setChecked);
    connect(m, &QM4168::ContRdChanged, chkContRd, &QCheckBox::setChecked);
    connect(m, &QM4168::DataWidthChanged, this, &FormADCSetup::IADC_DataWidthChanged);
    connect(m, &QM4168::DataChanged, this, [this](int c, qint32 data) { row(c)->setRegData(data); });
    connect(m, &QM4168::RdyChanged, this, [this](int c, bool on) { row(c)->setRdy(on); });
    connect(m, &QM4168::NoRefChanged, this, [this](int c, bool on) { row(c)->setNoRef(on); });
    connect(m, &QM4168::OvrRangeChanged, this, [this](int c, bool on) { row(c)->setOvr(on); });
    connect(m, &QM4168::UndRangeChanged, this, [this](int c, bool on) { row(c)->setUndr(on); });
    connect(m, &QM4168::BufChanged, this, [this](int c, bool on) { row(c)->setBuf(on); });
    connect(m, &QM4168::ComChanged, this, [this](int c, int com) { row(c)->setCom(com); });
    connect(m, &QM4168::RngChanged, this, [this](int c, int rng) { row(c)->setRng(rng); });
    connect(m, &QM4168::EnableChanged, this, &FormADCSetup::IADC_EnableChanged);
    connect(m, &QM4168::ChopChanged, this, &FormADCSetup::IADC_ChopChanged);
    connect(m, &QM4168::ConversionTimeChanged, this, &FormADCSetup::IADC_ConversionTimeChanged);
    connect(m, &QM4168::MdChanged, this, &FormADCSetup::IADC_MdChanged);
}

void FormADCSetup::Load()
{
    const int md = IADC.Md(-1);
    selectOption(m_operation, globalMode(md) ? md : -1);
    chkClamp->setChecked(IADC.Clamp(-1));
    chkClkDis->setChecked(IADC.ClkDis(-1));
    chkDump->setChecked(IADC.Dump(-1));
    chkContRd->setChecked(IADC.ContRd(-1));
    (IADC.DataWidth(-1) != 2 ? Opt24 : Opt16)->setChecked(true);
    IADC_P0Changed(IADC.P0());
    IADC_P1Changed(IADC.P1());
    IADC_P0DirChanged(IADC.P0Dir());
    IADC_P1DirChanged(IADC.P1Dir());
    IADC_RdyFnChanged(IADC.RdyFn());
    chkSync->setChecked(IADC.Sync());
    ChkRedPWR->setChecked(IADC.RedPWR());

    // Every row shows what the model holds now; later changes arrive as events.
    for (int c = 0; c < 8; ++c) {
        ChannelView *view = row(c);
        view->setBuf(IADC.Buf(c));
        view->setEnable(IADC.Enable(c));
        view->setChop(IADC.Chop(c));
        view->setConversionTime(IADC.ConversionTime(c));
        view->setRegData(IADC.DataCode(c));
        view->setRdy(IADC.Rdy(c));
        view->setNoRef(IADC.NoRef(c));
        view->setOvr(IADC.OvrRange(c));
        if (IADC.UndRange(c))
            view->setUndr(true);
        view->setMd(md == 2 || md == 6 || md == 7 ? (c == IADC.Channel() ? md : -1) : -1);
    }

    const int variant = IADC.EvBoard();
    const bool known = variant == 2 || variant == 4 || variant == 8 || variant == 9;
    ChkRedPWR->setVisible(variant == 9);
    LblBufOff->setVisible(variant == 8 || variant == 9);
    LblInputSelection->setVisible(variant == 8 || variant == 9);
    if (known) {
        for (int c = 0; c <= IADC.MaxChannel() && c < 8; ++c) {
            if (variant == 8 || variant == 9)
                row(c)->setCom(IADC.Com(c));
            row(c)->setRng(IADC.Rng(c));
        }
    }
    UpdateOutputRate();

    const int scrollWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int least = m_paging->snappedHeight(0);
    const int most = m_paging->snappedHeight(QWIDGETSIZE_MAX / 2);
    setMinimumSize(RowsX + ChannelView::RowWidth + 5, least);
    setMaximumSize(RowsX + ChannelView::RowWidth + 5 + scrollWidth, most);
    resize(RowsX + ChannelView::RowWidth + 5, most);
    applyPaging();
}

QSize FormADCSetup::sizeHint() const
{
    return QSize(RowsX + ChannelView::RowWidth + 5, m_paging->snappedHeight(QWIDGETSIZE_MAX / 2));
}

void FormADCSetup::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int hidden = m_paging->hiddenRows(height());
    const int scrollWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int width = RowsX + ChannelView::RowWidth + 5 + (hidden > 0 ? scrollWidth : 0);
    fitFrameTo(this, QSize(width, m_paging->snappedHeight(height())));
    applyPaging();
}

void FormADCSetup::applyPaging()
{
    const int h = height();
    const int fit = m_paging->fitRows(h);
    const int hidden = m_paging->hiddenRows(h);
    VScroll->setRange(0, hidden);
    VScroll->setPageStep(fit);
    VScroll->setVisible(hidden > 0);
    VScroll->setGeometry(RowsX + ChannelView::RowWidth + 3, FirstRowTop,
                         style()->pixelMetric(QStyle::PM_ScrollBarExtent), fit * ChannelView::RowHeight);
    const int v = VScroll->value();
    for (int c = 0; c < 8; ++c) {
        const bool shown = m_paging->rowShown(c, h, v);
        ChannelViews[c]->setVisible(shown);
        if (shown)
            ChannelViews[c]->move(RowsX, m_paging->rowTop(c, v));
    }
}

void FormADCSetup::UpdateOutputRate()
{
    m_totalTime = SetupTotals::totalTime(IADC);
    TxtOutputRate->setText(SetupTotals::boxText(m_totalTime));
    txtOutUpdateHz->setText(SetupTotals::rateText(m_totalTime));
}

void FormADCSetup::IADC_P0Changed(bool value)
{
    lblP0->setText(value ? QStringLiteral("1") : QStringLiteral("0"));
}

void FormADCSetup::IADC_P1Changed(bool value)
{
    lblP1->setText(value ? QStringLiteral("1") : QStringLiteral("0"));
}

void FormADCSetup::IADC_P0DirChanged(bool value)
{
    lblP0Dir->setText(value ? QStringLiteral("Input") : QStringLiteral("Output"));
}

void FormADCSetup::IADC_P1DirChanged(bool value)
{
    lblP1Dir->setText(value ? QStringLiteral("Input") : QStringLiteral("Output"));
}

void FormADCSetup::IADC_RdyFnChanged(bool value)
{
    (value ? OptRdyFn1 : OptRdyFn0)->setChecked(true);
}

void FormADCSetup::IADC_DataWidthChanged(int width)
{
    (width == 2 ? Opt16 : Opt24)->setChecked(true);
}

void FormADCSetup::IADC_EnableChanged(int channel, bool value)
{
    row(channel)->setEnable(value);
    UpdateOutputRate();
}

void FormADCSetup::IADC_ChopChanged(int channel, bool value)
{
    row(channel)->setChop(value);
    if (IADC.Enable(channel))
        UpdateOutputRate();
}

void FormADCSetup::IADC_ConversionTimeChanged(int channel, double microseconds)
{
    row(channel)->setConversionTime(microseconds);
    if (IADC.Enable(channel))
        UpdateOutputRate();
}

void FormADCSetup::IADC_MdChanged(int channel, int mode)
{
    for (ChannelView *view : ChannelViews)
        view->setMd(-1);
    if (globalMode(mode)) {
        selectOption(m_operation, mode);
        return;
    }
    selectOption(m_operation, -1);
    IADC.setChannel(channel);
    row(channel)->setMd(mode);
}
