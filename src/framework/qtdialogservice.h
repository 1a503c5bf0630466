// The dialog service of the running program: the real Qt dialogs.
#pragma once

#include "framework/dialogservice.h"

class QtDialogService : public DialogService {
public:
    std::optional<QString> openFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QStringList> openFiles(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> saveFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> chooseDirectory(QWidget* parent, const QString& caption, const QString& directory) override;
    std::optional<QString> chooseItem(QWidget* parent, const QString& caption, const QString& label,
                                      const QStringList& items, const QString& current) override;
    bool print(QWidget* parent, QPrinter& printer) override;
    bool printerSetup(QWidget* parent, QPrinter& printer) override;
    void showError(QWidget* parent, const QString& text) override;
    void showInformation(QWidget* parent, const QString& caption, const QString& text) override;
    bool askYesNo(QWidget* parent, const QString& caption, const QString& text) override;
};
