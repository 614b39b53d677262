#include "ClassData.h"
#include "DataFile.h"
#include "model/QM4168.h"

DataFileError ReadDataFileOfAnyVariant(const QString &path, ClassData &data, QM4168 &adc)
{
    const auto read = [&](int variant) {
        adc.setEvBoard(variant);
        return ReadDataFile(path, data, adc);
    };
    // The two range tables have no range in common, so the file's range texts name the
    // family; within it the variant with the most channels reads every file of the family.
    const DataFileError eight = read(8);
    if (eight.rangeLine() == 0)
        return eight;
    const DataFileError four = read(4);
    if (four.rangeLine() == 0)
        return four;
    // The later of the two lines passed the other variant's reading up to there; its range
    // either contradicts the earlier lines or belongs to no table.
    const DataFileError &later = four.rangeLine() > eight.rangeLine() ? four : eight;
    QM4168 other;
    other.setEvBoard(&later == &four ? 8 : 4);
    if (RangeCodeOfText(later.rangeText(), other) >= 0)
        return later;
    return DataFileError::badFile(
        QStringLiteral("Input range \"%1\" of Channel %2 is not a range of any QM416x variant in line %3")
            .arg(later.rangeText())
            .arg(later.rangeChannel())
            .arg(later.rangeLine()));
}
