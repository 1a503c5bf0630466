// Every system dialog the program shows goes through this service: the program uses real
// Qt dialogs, tests answer from a script and check what was asked.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QPrinter;
class QWidget;

struct FileDialogRequest {
    QString title;          // empty: the dialog's own title
    QString directory;      // the folder it opens on; empty: the current folder
    QString fileName;       // the file name it shows at first
    QStringList filters;    // "Databases (*.mb)"; empty: all files
    int selectedFilter = 0; // index into filters
    QString defaultSuffix;  // added to a typed name without extension (save only)
    QString acceptLabel;    // the text of the accepting button; empty: the dialog's own
};

class DialogService {
public:
    virtual ~DialogService() = default;

    // Each returns nothing when the user cancels.
    virtual std::optional<QString> openFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual std::optional<QStringList> openFiles(QWidget* parent, const FileDialogRequest& request) = 0;
    // Asks before replacing an existing file; the folder of a typed path must exist.
    virtual std::optional<QString> saveFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // A folder chooser in which new folders can be made.
    virtual std::optional<QString> chooseDirectory(QWidget* parent, const QString& caption,
                                                   const QString& directory) = 0;
    // Picks one of `items` (for instance a scanner); `current` is preselected.
    virtual std::optional<QString> chooseItem(QWidget* parent, const QString& caption, const QString& label,
                                              const QStringList& items, const QString& current) = 0;

    // The print dialog for `printer`, without page range or selection; the printer and settings
    // chosen there are set on it. False when cancelled.
    virtual bool print(QWidget* parent, QPrinter& printer) = 0;
    // The printer setup: the printer and its settings chosen for `printer`, nothing printed.
    virtual bool printerSetup(QWidget* parent, QPrinter& printer) = 0;

    // Message boxes.
    virtual void showError(QWidget* parent, const QString& text) = 0;
    virtual void showInformation(QWidget* parent, const QString& caption, const QString& text) = 0;
    virtual bool askYesNo(QWidget* parent, const QString& caption, const QString& text) = 0;
};
