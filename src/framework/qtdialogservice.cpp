#include "framework/qtdialogservice.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>

namespace {

// A file dialog set up from a request; the caller picks the mode.
void prepare(QFileDialog& dialog, const FileDialogRequest& request)
{
    if (!request.title.isEmpty())
        dialog.setWindowTitle(request.title);
    if (!request.directory.isEmpty())
        dialog.setDirectory(request.directory);
    if (!request.filters.isEmpty()) {
        dialog.setNameFilters(request.filters);
        if (request.selectedFilter >= 0 && request.selectedFilter < request.filters.size())
            dialog.selectNameFilter(request.filters.at(request.selectedFilter));
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.acceptLabel.isEmpty())
        dialog.setLabelText(QFileDialog::Accept, request.acceptLabel);
}

} // namespace

std::optional<QString> QtDialogService::openFile(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent);
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name is handed over as it stands, existing or not: the command reports what
    // it cannot open.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QStringList> QtDialogService::openFiles(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent);
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles();
}

std::optional<QString> QtDialogService::saveFile(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent);
    prepare(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        const QString chosen = dialog.selectedFiles().constFirst();
        const QString folder = QFileInfo(chosen).absolutePath();
        if (QFileInfo(folder).isDir())
            return chosen;
        // A typed path into a folder that is not there: the user corrects it in the dialog.
        QMessageBox::warning(&dialog, dialog.windowTitle(),
                             QApplication::translate("QtDialogService", "The folder %1 does not exist.")
                                 .arg(QDir::toNativeSeparators(folder)));
    }
}

std::optional<QString> QtDialogService::chooseDirectory(QWidget* parent, const QString& caption,
                                                        const QString& directory)
{
    const QString chosen = QFileDialog::getExistingDirectory(parent, caption, directory);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

std::optional<QString> QtDialogService::chooseItem(QWidget* parent, const QString& caption, const QString& label,
                                                   const QStringList& items, const QString& current)
{
    bool ok = false;
    const int index = std::max(0, static_cast<int>(items.indexOf(current)));
    const QString chosen = QInputDialog::getItem(parent, caption, label, items, index, false, &ok);
    if (!ok)
        return std::nullopt;
    return chosen;
}

namespace {

void preparePrintDialog(QPrintDialog& dialog)
{
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
}

} // namespace

bool QtDialogService::print(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    preparePrintDialog(dialog);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogService::printerSetup(QWidget* parent, QPrinter& printer)
{
    // The system's print dialog chooses and sets up the printer; here it prints nothing.
    QPrintDialog dialog(&printer, parent);
    preparePrintDialog(dialog);
    dialog.setWindowTitle(QApplication::translate("QtDialogService", "Printer Setup"));
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* accept = buttons->button(QDialogButtonBox::Ok))
            accept->setText(QApplication::translate("QtDialogService", "OK"));
    return dialog.exec() == QDialog::Accepted;
}

void QtDialogService::showError(QWidget* parent, const QString& text)
{
    QMessageBox::critical(parent, QApplication::applicationName(), text);
}

void QtDialogService::showInformation(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox::information(parent, caption, text);
}

bool QtDialogService::askYesNo(QWidget* parent, const QString& caption, const QString& text)
{
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}
