#include "ExportSector.h"

#include "Activity.h"
#include "DefineUniverse.h"
#include "MergeErrorsWindow.h"
#include "Prompter.h"
#include "SectorExport.h"
#include "UiText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace hexlane::ui {

QString SectorExportFilter() {
    return QStringLiteral("Tab-delimited sector file (*.tab);;Column-delimited sector file (*.txt);;"
                          "Classic sector file (*.sec);;All files (*)");
}

bool ExportSector(const TUniverse& universe, const TSector& sector, Prompter& prompter, TfMergeErrors& messages,
                  Activity* activity, QString& folder) {
    const auto path = prompter.SaveFile(FileChoice{QStringLiteral("Export Sector File"), SectorExportFilter(),
                                                   QStringLiteral("tab"),
                                                   QDir(folder).filePath(FromMap(sector.Name1) + QStringLiteral(".tab"))});
    if (!path) return false;
    folder = QFileInfo(*path).absolutePath();

    TSectorExportResult result;
    {
        BusyScope busy(activity);
        result = ExportSectorFile(universe, sector, QFile::encodeName(*path).toStdString());
        if (activity)
            activity->Status(result.Ok ? QStringLiteral("%1 systems exported").arg(result.StarsWritten) : QString());
    }
    if (!result.Ok) {
        // The message may name the file in the system's own encoding.
        prompter.Error(QFile::decodeName(QByteArray::fromStdString(result.Message)));
        return false;
    }
    messages.Clear();
    messages.AddLines(result.Lines);
    messages.ShowIfAny();
    return true;
}

}  // namespace hexlane::ui
