// The Options command: shows the Options window over the open album's settings record and
// stores what was changed there however the window closes; the password and a changed
// automatic opening are posted only when the window closes with OK.
#pragma once

class TForm7;
class TPDBMultiImage;
class Tdb;

class OptionsCommand {
public:
    // Binds the window to the data module and the picture view.
    OptionsCommand(Tdb& db, TPDBMultiImage& view, TForm7& window);

    void showOptions();

private:
    // Centre, and fit a picture larger than the view (one that fits is never enlarged).
    void applyDisplaySettings();

    Tdb& db_;
    TPDBMultiImage& view_;
    TForm7& window_;
};
