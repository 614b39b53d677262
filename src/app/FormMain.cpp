#include "FormMain.h"

#include "AppContext.h"
#include "FormSelectBoard.h"
#include "model/PowerOnImage.h"
#include "model/RegisterDesign.h"

#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>

FormMain::FormMain(AppContext &context, const StartupOptions &options, QWidget *parent)
    : QMainWindow(parent)
    , m_context(context)
    , m_options(options)
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("QM4162/64/68/69 Evaluation Software"));
    resize(1024, 720);

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("MDIArea"));
    setCentralWidget(m_mdiArea);

    MnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    MnuFile->setObjectName(QStringLiteral("MnuFile"));
    MnuFileExit = MnuFile->addAction(QStringLiteral("E&xit"));
    MnuFileExit->setObjectName(QStringLiteral("MnuFileExit"));
    connect(MnuFileExit, &QAction::triggered, this, &QWidget::close);

    MnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    MnuHelp->setObjectName(QStringLiteral("MnuHelp"));

    m_brdStatus = new QLabel(this);
    m_brdStatus->setObjectName(QStringLiteral("BrdStatus"));
    m_brdStatus->setMinimumWidth(140);
    statusBar()->addWidget(m_brdStatus);
    setBrdStatus(QStringLiteral("Board Disabled"));
}

void FormMain::setBrdStatus(const QString &text)
{
    m_brdStatus->setText(text);
}

void FormMain::Load()
{
    QM4168 &model = m_context.IADC;

    model.setTestEnable(m_options.testMode);

    m_context.VariantCode = m_options.variantCode;
    if (m_context.VariantCode != 0)
        model.setEvBoard(m_context.VariantCode);
    else
        selectVariant();

    show();

    // The register rows give the model its register widths and design values before the
    // power-on image is written over them.
    RegisterDesign::applyTo(model);
    LoadRegisterDefaults(model, m_context.VariantCode);
}

void FormMain::selectVariant()
{
    FormSelectBoard dialog(m_context.IADC, m_context.VariantCode, this);
    dialog.exec();
}
