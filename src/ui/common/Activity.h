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
