// The main window's part in the data and plot windows: creating them, and the menu items
// and toolbar buttons that drive them.

#include "AppContext.h"
#include "ChildWindow.h"
#include "FormMain.h"
#include "analysis/FormData.h"
#include "analysis/FormFFT.h"
#include "analysis/FormGraph1.h"
#include "analysis/FormHist.h"
#include "analysis/FormPeaks.h"

#include "platform/UserDialogs.h"

#include <QAction>
#include <QComboBox>

void FormMain::registerDataWindows()
{
    m_specs.insert(QStringLiteral("FormData"),
                   {true, [this] {
                        auto *form = new FormData(m_context.IADC, m_context.IData, m_dialogs, m_settings);
                        form->setCaptures(&m_context.Captures);
                        connect(form, &FormData::showPlot, this, &FormMain::showPlot);
                        connect(form, &FormData::ReadData, this, &FormMain::ReadData);
                        return form;
                    }});
    auto plot = [this](FormPlot *form) {
        connect(form, &FormPlot::hiddenByData, this, &FormMain::MnuViewSet);
        return form;
    };
    m_specs.insert(
        QStringLiteral("FormGraph1"),
        {true, [this, plot] { return plot(new FormGraph1(m_context.IData, m_context.IADC, m_dialogs)); }});
    m_specs.insert(
        QStringLiteral("FormHist"),
        {true, [this, plot] { return plot(new FormHist(m_context.IData, m_context.IADC, m_dialogs)); }});
    m_specs.insert(QStringLiteral("FormFFT"), {true, [this, plot] {
                                                   auto *form = new FormFFT(m_context.IData, m_context.IADC,
                                                                            m_dialogs);
                                                   form->setCaptures(&m_context.Captures);
                                                   return plot(form);
                                               }});
    m_specs.insert(QStringLiteral("FormPeaks"), {false, [this] { return new FormPeaks(m_context.IData); }});

    for (QAction *item : {MnuOpenData, MnuViewData, RemovePeaks, toolButton(QStringLiteral("Clear")),
                          toolButton(QStringLiteral("Open"))})
        item->setEnabled(true);
    connect(MnuOpenData, &QAction::triggered, this, [this] { formData()->CommandReadFromFile_Click(); });
    connect(toolButton(QStringLiteral("Open")), &QAction::triggered, this,
            [this] { formData()->CommandReadFromFile_Click(); });
    connect(MnuSaveData, &QAction::triggered, this, [this] { formData()->SaveDataFile(); });
    connect(toolButton(QStringLiteral("Save")), &QAction::triggered, this,
            [this] { formData()->SaveDataFile(); });
    connect(MnuReport, &QAction::triggered, this, &FormMain::writeReport);
    connect(toolButton(QStringLiteral("Clear")), &QAction::triggered, this,
            [this] { formData()->ClearData(); });
    connect(MnuViewData, &QAction::triggered, this, [this] { showChild(QStringLiteral("FormData")); });
    connect(RemovePeaks, &QAction::triggered, this, [this] { showChild(QStringLiteral("FormPeaks")); });
    const QList<QPair<QAction *, QString>> plots = {
        {MnuViewGraph, QStringLiteral("FormGraph1")},
        {MnuViewHist, QStringLiteral("FormHist")},
        {MnuViewFFT, QStringLiteral("FormFFT")},
        {toolButton(QStringLiteral("Graph")), QStringLiteral("FormGraph1")},
        {toolButton(QStringLiteral("Hist")), QStringLiteral("FormHist")},
        {toolButton(QStringLiteral("FFT")), QStringLiteral("FormFFT")}};
    for (const auto &entry : plots) {
        const QString name = entry.second;
        connect(entry.first, &QAction::triggered, this, [this, name] { showPlot(name); });
    }

    connect(&m_context.IData, &ClassData::DataChanged, this, &FormMain::updateDataCommands);
    updateDataCommands();
}

void FormMain::updateDataCommands()
{
    // Saving and the plots need a valid channel.
    const bool any = m_context.IData.Valid(-1);
    for (QAction *item : {MnuSaveData, MnuViewGraph, MnuViewHist, MnuViewFFT,
                          toolButton(QStringLiteral("Save")), toolButton(QStringLiteral("Graph")),
                          toolButton(QStringLiteral("Hist")), toolButton(QStringLiteral("FFT"))})
        item->setEnabled(any);
    MnuReport->setEnabled(any && m_services.writeReport);
}

void FormMain::writeReport()
{
    if (!m_services.writeReport || !m_context.IData.Valid(-1))
        return;
    const QString title = QStringLiteral("Report");
    UserDialogs::FileFilter filter;
    filter.filters = {QStringLiteral("PDF Documents (*.pdf)"), QStringLiteral("HTML Pages (*.html)")};
    const std::optional<QString> path = m_dialogs.saveFile(title, filter, QStringLiteral("pdf"));
    if (!path)
        return;
    int window = 2; // Hanning, the spectrum window's first choice
    if (ChildWindow *child = childWindow(QStringLiteral("FormFFT")))
        if (auto *fft = qobject_cast<FormPlot *>(child->form()))
            window = fft->ComboWindow->currentIndex();
    const DataFileError error = m_services.writeReport(*path, m_context.IData, m_context.IADC, window);
    if (error.isError())
        m_dialogs.message(QStringLiteral("Cannot write %1: %2").arg(*path, error.message()),
                          UserDialogs::Icon::Warning, title);
}

FormData *FormMain::formData()
{
    return static_cast<FormData *>(childWindow(QStringLiteral("FormData"))->form());
}

void FormMain::showPlot(const QString &name)
{
    showChild(name);
    if (auto *plot = qobject_cast<FormPlot *>(childWindow(name)->form()))
        plot->display();
}
