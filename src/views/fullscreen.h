// TForm11, the full-screen viewer: the current picture maximised on black, with a strip to step,
// play or stop the slideshow and stretch the picture. Its buttons run the main window's own
// commands, and its picture view follows the same table as the main window's, so whatever
// moves the current record (a step here, a slideshow tick) shows in both.
#pragma once

#include <functional>

#include "framework/modalform.h"

class QCheckBox;
class QPushButton;
class QToolButton;
class TDataSource;
class TPDBMultiImage;

// The main window's commands the strip runs.
struct FullScreenCommands {
    std::function<void()> stepBack;
    std::function<void()> stepForward;
    std::function<void()> playOrStop;
};

class TForm11 : public TModalForm {
    Q_OBJECT
public:
    explicit TForm11(QWidget* parent = nullptr);

    void bind(TDataSource& pictures, FullScreenCommands commands);

    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void CheckBox1Click();

    TPDBMultiImage* PDBMultiImage1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;      // "Stretch Image"
    QToolButton* SpeedButton3 = nullptr; // play/stop
    QToolButton* SpeedButton1 = nullptr; // step back
    QToolButton* SpeedButton2 = nullptr; // step forward
    QPushButton* BitBtn1 = nullptr;      // Close

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* buildStrip();
    FullScreenCommands commands_;
    TDataSource* pictures_ = nullptr;
};
