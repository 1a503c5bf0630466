// A dialog service for tests: it answers from a script and records what was asked. A
// question without a queued answer is answered like Cancel and counted as unexpected.
#pragma once

#include <QPrinter>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

#include "framework/dialogservice.h"

struct AskedDialog {
    QString kind; // "openFile", "openFiles", "saveFile", "chooseDirectory", "chooseItem", "print", "printerSetup", "error", ...
    FileDialogRequest request;
    QString caption;
    QString text;
    QStringList items;
};

class ScriptedDialogService : public DialogService {
public:
    // Answers, used in the order queued, by whatever dialog comes next.
    void answerPath(const QString& path) { answers_.push_back(QStringList{path}); }
    void answerPaths(const QStringList& paths) { answers_.push_back(paths); }
    void answerCancel() { answers_.emplace_back(std::in_place_type<Cancel>); }
    void answerYes(bool yes) { answers_.push_back(yes); }
    // OK in a print or printer-setup dialog, after `choose` has set the printer up as the user
    // would there (the printer, PDF output and its file, the resolution).
    void answerPrinter(std::function<void(QPrinter&)> choose)
    {
        answers_.emplace_back(std::in_place_type<PrinterChoice>);
        printerChoices_.push_back(std::move(choose));
    }

    // Runs while each dialog is up, for what a real modal window does to the program meanwhile
    // (taking the focus, for one).
    std::function<void()> whileShown;

    std::vector<AskedDialog> asked;
    QStringList errors; // texts of the error boxes shown
    int unexpected = 0; // questions asked without an answer queued
    bool allAnswersUsed() const { return answers_.empty(); }

    std::optional<QString> openFile(QWidget*, const FileDialogRequest& request) override;
    std::optional<QStringList> openFiles(QWidget*, const FileDialogRequest& request) override;
    std::optional<QString> saveFile(QWidget*, const FileDialogRequest& request) override;
    std::optional<QString> chooseDirectory(QWidget*, const QString& caption, const QString& directory) override;
    std::optional<QString> chooseItem(QWidget*, const QString& caption, const QString& label, const QStringList& items,
                                      const QString& current) override;
    bool print(QWidget*, QPrinter& printer) override;
    bool printerSetup(QWidget*, QPrinter& printer) override;
    void showError(QWidget*, const QString& text) override;
    void showInformation(QWidget*, const QString& caption, const QString& text) override;
    bool askYesNo(QWidget*, const QString& caption, const QString& text) override;

private:
    struct Cancel {};
    struct PrinterChoice {}; // the next of printerChoices_
    using Answer = std::variant<Cancel, QStringList, bool, PrinterChoice>;
    bool nextPrinter(const QString& kind, QPrinter& printer);
    std::optional<Answer> next();
    // Whether the next answer is of this kind (it is used up either way).
    template <typename Kind> bool next();
    std::optional<QStringList> nextPaths();

    std::deque<Answer> answers_;
    std::deque<std::function<void(QPrinter&)>> printerChoices_;
};
