// The base of the program's own modal windows. Each is created once at start-up and lives
// until the program ends, so its controls keep what the user left in them between uses.
#pragma once

#include <QDialog>

class QHBoxLayout;
class QPushButton;

enum class TModalResult { mrNone, mrOk, mrCancel };

class TModalForm : public QDialog {
    Q_OBJECT
public:
    explicit TModalForm(QWidget* parent = nullptr);

    // Shows the window modally; mrCancel when it was closed any way other than OK.
    TModalResult ShowModal();

protected:
    // A fixed-size window whose client area is width × height.
    void setFixedClientSize(int width, int height);
    // Shows the window in the middle of the screen rather than over its parent.
    void setCentredOnScreen() { centredOnScreen_ = true; }
    // The OK (default) and Cancel buttons, named as the window's designer named them,
    // closing the window with their result; returned as a right-aligned row.
    QHBoxLayout* okCancelRow(QPushButton*& ok, const char* okName, QPushButton*& cancel, const char* cancelName);

private:
    bool centredOnScreen_ = false;
};
