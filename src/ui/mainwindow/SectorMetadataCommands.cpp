#include "SectorMetadataCommands.h"

#include "Activity.h"
#include "DefineUniverse.h"
#include "MergeErrorsWindow.h"
#include "PolityRegions.h"
#include "Prompter.h"
#include "SectorMetadata.h"
#include "UiText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace hexlane::ui {

namespace {

QString MetadataFilter() { return QStringLiteral("Sector metadata (*.xml);;All files (*)"); }

}  // namespace

bool ImportSectorMetadataFile(TUniverse& universe, TSector& sector, Prompter& prompter, TfMergeErrors& messages,
                              Activity* activity, QString& folder) {
    const auto path = prompter.OpenFile(FileChoice{QStringLiteral("Import Sector Metadata"), MetadataFilter(),
                                                   QStringLiteral("xml"), QDir(folder).filePath(FromMap(sector.Name1) + ".xml")});
    if (!path) return false;
    folder = QFileInfo(*path).absolutePath();
    TMetadataImportResult result;
    {
        BusyScope busy(activity);
        result = ImportSectorMetadata(universe, sector, QFile::encodeName(*path).toStdString());
        if (activity && result.Ok)
            activity->Status(QStringLiteral("%1 subsector names, %2 legs imported").arg(result.SubsectorsRenamed).arg(result.LegsAdded));
    }
    if (!result.Ok) {
        prompter.Error(QFile::decodeName(QByteArray::fromStdString(result.Message)));
        return false;
    }
    messages.Clear();
    messages.AddLines(result.Lines);
    messages.ShowIfAny();
    return result.Changed();
}

bool ExportSectorMetadataFile(const TUniverse& universe, const TSector& sector, Prompter& prompter, Activity* activity,
                              QString& folder) {
    const auto path = prompter.SaveFile(FileChoice{QStringLiteral("Export Sector Metadata"), MetadataFilter(),
                                                   QStringLiteral("xml"), QDir(folder).filePath(FromMap(sector.Name1) + ".xml")});
    if (!path) return false;
    folder = QFileInfo(*path).absolutePath();
    std::string message;
    bool ok = false;
    {
        BusyScope busy(activity);
        TMetadataExportOptions options;
        for (regions::SectorBorder& b : regions::BordersInSector(sector, regions::ComputeRegions(universe)))
            options.Borders.push_back({std::move(b.Code), b.Color, std::move(b.Hexes)});
        ok = ExportSectorMetadata(universe, sector, QFile::encodeName(*path).toStdString(), options, message);
    }
    if (!ok) prompter.Error(QFile::decodeName(QByteArray::fromStdString(message)));
    return ok;
}

}  // namespace hexlane::ui
