// The main window's file commands: Open, Save, Save As, Save Bitmap and the
// question about unsaved changes before the map is closed or replaced.

#include "Mainform.h"

#include "DefineUniverse.h"
#include "MapBitmap.h"
#include "MapView.h"
#include "OpenMap.h"
#include "Settings.h"
#include "UiText.h"
#include "ViewState.h"
#include "UndoHistory.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

namespace hexlane::ui {

namespace {

FileChoice MapFileChoice(const QString& title, const QString& initial) {
    return FileChoice{title, QStringLiteral("Map File (*.map)"), QStringLiteral("map"), initial};
}

// File names reach the model as the bytes the operating system uses.
std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

// ---------------------------------------------------------------- open

bool TfMainform::OpenWith(const std::function<std::optional<QString>()>& choose) {
    Progress(20);
    Status("Retrieving IISS Survey Data ...");
    bool read = false;
    // Replacing the map loses its unsaved changes: ask first, as on close.
    if (AskToSaveChanges())
        if (const auto path = choose()) read = ReadMap(*path);
    Status("IISS Survey Data Retrieved");
    Progress(100);
    Progress(-1);
    return read;
}

void TfMainform::rOpenClick() {
    OpenWith([this] { return prompter_->OpenFile(MapFileChoice("Open", FileName())); });
}

bool TfMainform::OpenMapFile(const QString& path) {
    return OpenWith([&path] { return std::optional<QString>(path); });
}

bool TfMainform::ReadMap(const QString& path) {
    BusyScope busy(this);
    // The map is read into a new universe; the current one is replaced only
    // when the whole file was read, so a bad file leaves the open map, its
    // file name and its title as they were.
    OpenMapResult result = OpenMap(NativePath(path), [this](int percent) { Progress(percent); });
    if (!result.Universe) {
        prompter_->Error(FromMap(result.Message));
        return false;
    }
    // What the window sets on the map it opens, before the views show it.
    TUniverse& opened = *result.Universe;
    opened.UseSectorHexAddressing = false;
    // A map opens at the zoom the user chose last (the middle one at first).
    if (const int zoom = Settings::Zoom(); zoom > opened.HexSize)
        render::ZoomIn(opened);
    else if (zoom < opened.HexSize)
        render::ZoomOut(opened);
    // The old map stays when there is not enough memory to show this one.
    if (!SetUniverse(std::move(result.Universe), path)) return false;
    autoRefresh_->setChecked(universe_->AutoRefresh);
    useAltTL_->setChecked(universe_->UseAltTL);
    useSectorHexAddressing_->setChecked(false);
    NoteRecentFile(FileName());
    Invalidate();
    if (!result.Dropped.empty()) {
        // An old map's objects that the new layout had no place for are gone:
        // say which, rather than losing them silently.
        QString text = "These objects of the old map belong to no route or sector and were left out:";
        for (const std::string& line : result.Dropped) text += "\n" + FromMap(line);
        prompter_->Information(text);
    }
    return true;
}

// ---------------------------------------------------------------- save

QString TfMainform::ChooseMapToSave() {
    // An untitled map is proposed as "Untitled.map" in the folder of the
    // last save.
    QString initial = FileName();
    if (initial.isEmpty()) {
        const QString folder = Settings::LastFolder("Save As");
        initial = folder.isEmpty() ? QStringLiteral("Untitled.map") : QDir(folder).filePath("Untitled.map");
    }
    const auto path = prompter_->SaveFile(MapFileChoice("Save As", initial));
    return path ? *path : QString();
}

SaveOutcome TfMainform::SaveTo(const QString& path) {
    BusyScope busy(this);
    std::string message;
    if (universe_->SaveToFile(NativePath(path), message)) {
        NoteRecentFile(QFileInfo(path).absoluteFilePath());
        document_->MarkSaved();
        return SaveOutcome::Saved;
    }
    prompter_->Error(FromMap(message));
    return SaveOutcome::Failed;
}

SaveOutcome TfMainform::rSaveClick() {
    if (FileName().isEmpty()) {
        const QString path = ChooseMapToSave();
        if (path.isEmpty()) return SaveOutcome::Cancelled;
        document_->SetFileName(path);
        UpdateTitle();
    }
    return SaveTo(FileName());
}

void TfMainform::rSaveAsClick() {
    const QString path = ChooseMapToSave();
    if (path.isEmpty()) return;
    SaveTo(path);
    document_->SetFileName(path);
    UpdateTitle();
}

bool TfMainform::AskToSaveChanges() {
    if (!universe_->ManagerRequiresSaving) return true;
    switch (prompter_->YesNoCancel("Save the Universe First?")) {
    case Answer::No:
        return true;
    case Answer::Cancel:
        return false;
    case Answer::Yes:
        // Only a save that happened lets the map go: a failed save or a
        // cancelled file chooser keeps it.
        return rSaveClick() == SaveOutcome::Saved;
    }
    return false;
}

// ---------------------------------------------------------------- bitmap

void TfMainform::rSaveBitmapClick() {
    if (!mapView_->HasPicture()) {
        prompter_->Information("There is no map picture to save yet: open a map first.");
        return;
    }
    const auto path = prompter_->SaveFile(
        FileChoice{"Save Bitmap As", QStringLiteral("Bitmap Files (*.bmp)"), QStringLiteral("bmp"), {}});
    if (!path) return;
    BusyScope busy(this);
    Status("Saving the map picture ...");
    Progress(0);
    QString error;
    const bool saved = render::SaveMapBitmap(
        *mapView_->Renderer(), *path, {}, [this](int done, int total) { Progress(done * 100 / std::max(total, 1)); },
        &error);
    Progress(-1);
    Status(saved ? "Map picture saved" : QString());
    if (!saved) prompter_->Error(error);
}

}  // namespace hexlane::ui
