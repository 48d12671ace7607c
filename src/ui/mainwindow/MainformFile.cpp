// The main window's file commands: Open, Save, Save As, Save Bitmap and the
// question about unsaved changes before the map is closed or replaced.

#include "Mainform.h"

#include "DefineUniverse.h"
#include "MapExport.h"
#include "MapRenderer.h"
#include "MapView.h"
#include "OpenMap.h"
#include "Settings.h"
#include "UiText.h"
#include "ViewState.h"
#include "UndoHistory.h"

#include <QAction>
#include <QFileInfo>

namespace hexlane::ui {

namespace {

const QString kTitlePrefix = QStringLiteral("Hexlane - IISS Map : ");

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
    OpenWith([this] { return prompter_->OpenFile(MapFileChoice("Open", fileName_)); });
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
    SetUniverse(std::move(result.Universe));
    fileName_ = QFileInfo(path).absoluteFilePath();
    setWindowTitle(kTitlePrefix + fileName_ + "[*]");
    autoRefresh_->setChecked(universe_->AutoRefresh);
    useAltTL_->setChecked(universe_->UseAltTL);
    useSectorHexAddressing_->setChecked(false);
    universe_->UseSectorHexAddressing = false;
    // A map opens at the zoom the user chose last (the middle one at first).
    if (const int zoom = Settings::Zoom(); zoom > universe_->HexSize)
        render::ZoomIn(*universe_);
    else if (zoom < universe_->HexSize)
        render::ZoomOut(*universe_);
    NoteRecentFile(fileName_);
    RebuildTree();
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
    const auto path = prompter_->SaveFile(MapFileChoice("Save As", fileName_));
    return path ? *path : QString();
}

SaveOutcome TfMainform::SaveTo(const QString& path) {
    BusyScope busy(this);
    std::string message;
    if (universe_->SaveToFile(NativePath(path), message)) {
        NoteRecentFile(QFileInfo(path).absoluteFilePath());
        history_->SetSaved();
        SyncModified();
        return SaveOutcome::Saved;
    }
    prompter_->Error(FromMap(message));
    return SaveOutcome::Failed;
}

SaveOutcome TfMainform::rSaveClick() {
    if (fileName_.isEmpty()) {
        const QString path = ChooseMapToSave();
        if (path.isEmpty()) return SaveOutcome::Cancelled;
        fileName_ = QFileInfo(path).absoluteFilePath();
    }
    return SaveTo(fileName_);
}

void TfMainform::rSaveAsClick() {
    const QString path = ChooseMapToSave();
    if (path.isEmpty()) return;
    SaveTo(path);
    fileName_ = QFileInfo(path).absoluteFilePath();
    setWindowTitle(kTitlePrefix + fileName_ + "[*]");
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
    // The picture on screen, as the view drew it.
    render::PictureJob job;
    job.Format = render::PictureFormat::Bitmap;
    job.HexSize = mapView_->Renderer()->Layout().Frame.M.S;
    job.Area = QRectF(QPointF(0, 0), QSizeF(mapView_->PictureSize()) / std::max(1, job.HexSize));
    job.Path = *path;
    job.Screen = mapView_->Renderer();
    RunPictureJob(job, "Saving the map picture ...", "Map picture saved", "Saving stopped");
}

}  // namespace hexlane::ui
