#pragma once
// Long operations (opening a map, rebuilding the picture, saving) report
// through an Activity: the busy cursor, a progress bar and a status text.
// The main window implements it; code that runs long only knows this seam.

#include <QString>

namespace hexlane::ui {

class Activity {
public:
    virtual ~Activity() = default;
    // Busy cursor on (nested calls count) or off.
    virtual void BeginBusy() = 0;
    virtual void EndBusy() = 0;
    // Shows the progress bar at `percent` (0-100); a negative value hides it.
    virtual void Progress(int percent) = 0;
    // The long operation's status text; lets pending window events run once
    // so the text appears.
    virtual void Status(const QString& text) = 0;

    // A long operation the user may stop (printing, exporting): between
    // BeginCancellable and EndCancellable the progress offers a Cancel
    // button, and CancelRequested tells whether it was pressed (the
    // operation asks between its steps). By default nothing can be stopped.
    virtual void BeginCancellable(const QString& title) { (void)title; }
    virtual void EndCancellable() {}
    virtual bool CancelRequested() { return false; }
};

// A cancellable stretch for the lifetime of this object.
class CancellableScope {
public:
    CancellableScope(Activity* activity, const QString& title) : activity_(activity) {
        if (activity_) activity_->BeginCancellable(title);
    }
    ~CancellableScope() {
        if (activity_) activity_->EndCancellable();
    }
    CancellableScope(const CancellableScope&) = delete;
    CancellableScope& operator=(const CancellableScope&) = delete;

private:
    Activity* activity_;
};

// The busy cursor for the lifetime of this object.
class BusyScope {
public:
    explicit BusyScope(Activity* activity) : activity_(activity) {
        if (activity_) activity_->BeginBusy();
    }
    ~BusyScope() {
        if (activity_) activity_->EndBusy();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    Activity* activity_;
};

}  // namespace hexlane::ui
