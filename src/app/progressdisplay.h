// The picture view's progress on the status bar's progress bar: 0, the odd percentages and the
// end are shown, and at 0 and the end the window paints. Once the program is closing, the
// work reporting is aborted.
#pragma once

class MainView;

class ProgressDisplay {
public:
    explicit ProgressDisplay(MainView& window) : window_(window) {}

    void show(int percent, bool* abort);
    void programClosing() { closing_ = true; }

private:
    MainView& window_;
    bool closing_ = false;
};
