#include "HistoryExport.h"

#include "HistoryCapture.h"
#include "app/SettingsFile.h"
#include "data/ClassData.h"
#include "data/DataFile.h"
#include "model/QM4168.h"

namespace HistoryExport {

bool kindOf(const QString &path, Kind &kind)
{
    if (path.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive))
        kind = Kind::DataFile;
    else if (path.endsWith(QLatin1String(".adc"), Qt::CaseInsensitive))
        kind = Kind::SettingsFile;
    else
        return false;
    return true;
}

DataFileError write(const HistoryCapture &capture, const QString &path, Kind kind)
{
    // The same writers, fed with the model and store the capture was taken with.
    QM4168 model;
    capture.fillModel(model);
    if (kind == Kind::SettingsFile)
        return WriteSettingsFile(path, model);
    ClassData store;
    capture.fillStore(store);
    return WriteDataFile(path, store, model);
}

} // namespace HistoryExport
