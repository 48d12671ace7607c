#include "CombineMaps.h"

#include "Activity.h"
#include "DefineUniverse.h"
#include "MergeErrors.h"
#include "MergeErrorsWindow.h"
#include "Prompter.h"
#include "UiText.h"

#include <QFile>
#include <QFileInfo>

namespace hexlane::ui {

namespace {

// True when both names lead to the same file (links and relative names resolved).
bool IsSameFile(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty()) return false;
    const QFileInfo first(a), second(b);
    if (first.exists() && second.exists()) return first.canonicalFilePath() == second.canonicalFilePath();
    return first.absoluteFilePath() == second.absoluteFilePath();
}

}  // namespace

QString CombineQuestion(CombineKind kind) {
    if (kind == CombineKind::Merge)
        return QStringLiteral(
            "This feature is used to Merge two maps\ntogether into one.\n\nWhen prompted for a filename, select the "
            "\nmap you wish Merged into the one\ncurrently in memory.\n\nDuplicates are NOT Merged.  If duplicates "
            "are \nfound, they will be reported at the end of the\nMerge operation for your review.\n\nAre you sure "
            "you wish to Merge a map\nwith this one?");
    return QStringLiteral(
        "This feature is used to Overlay an existing\ndatabase over the one currently in memory.\n\nWhen prompted "
        "for a filename, select the\ndatabase you wish to Overlay on top of  the \none currently in memory.\n\n"
        "Duplicates found in the database in\nmemory are REPLACED.\n\nIf duplicates are found, they will be "
        "reported \nat the end of the Overlay operation for your \nreview.\n\nAre you sure you wish to Overlay a "
        "database\nonto the this?");
}

bool CombineMaps(CombineKind kind, TUniverse& memory, Prompter& prompter, TfMergeErrors& messages,
                 Activity* activity, const QString& mapFile, const std::function<void()>& refresh) {
    const bool merge = kind == CombineKind::Merge;
    if (!prompter.YesNo(CombineQuestion(kind), Look::Warning)) return false;
    messages.Clear();

    // The folder of the map in memory, with no file proposed: Enter alone must
    // not combine the map with itself.
    const QString folder = mapFile.isEmpty() ? QString() : QFileInfo(mapFile).absolutePath();
    const auto path = prompter.OpenFile(
        FileChoice{QStringLiteral("Open"), QStringLiteral("Map File (*.map)"), QStringLiteral("map"), folder});
    if (path && IsSameFile(*path, mapFile)) {
        prompter.Information(QStringLiteral("This is the map in memory."));
        return false;
    }
    TCombineResult result;
    {
        BusyScope busy(activity);
        if (activity && path) {
            activity->Progress(20);
            activity->Status(merge ? QStringLiteral("Merging maps ...") : QStringLiteral("Overlaying maps ..."));
        }
        // An empty name stands for a cancelled choice: nothing is read, but the
        // universe is marked changed all the same.
        const std::string fileName = path ? QFile::encodeName(*path).toStdString() : std::string();
        result = merge ? MergeMapFile(memory, fileName) : OverlayMapFile(memory, fileName);
        if (activity && path) {
            activity->Progress(100);
            activity->Progress(-1);
            activity->Status(QString());
        }
    }

    if (result.Status == TCombineResult::TStatus::NeedsResave) {
        prompter.Information(FromMap(result.Message));
        return false;
    }
    if (refresh) refresh();
    if (result.Status == TCombineResult::TStatus::NotRead && !result.Message.empty())
        prompter.Error(FromMap(result.Message));
    messages.AddLines(result.Lines);
    messages.ShowModal();
    return true;
}

}  // namespace hexlane::ui
