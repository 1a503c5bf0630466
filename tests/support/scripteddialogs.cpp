#include "support/scripteddialogs.h"

// GCC 12 takes the list of paths in a moved answer for uninitialised (a false alarm).
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

template <typename Kind> bool ScriptedDialogService::next()
{
    if (whileShown)
        whileShown();
    if (answers_.empty()) {
        ++unexpected;
        return false;
    }
    const bool isKind = std::holds_alternative<Kind>(answers_.front());
    answers_.pop_front();
    return isKind;
}

std::optional<ScriptedDialogService::Answer> ScriptedDialogService::next()
{
    if (whileShown)
        whileShown();
    if (answers_.empty()) {
        ++unexpected;
        return std::nullopt;
    }
    std::optional<Answer> answer(std::move(answers_.front()));
    answers_.pop_front();
    return answer;
}

std::optional<QStringList> ScriptedDialogService::nextPaths()
{
    const std::optional<Answer> answer = next();
    if (!answer || !std::holds_alternative<QStringList>(*answer))
        return std::nullopt;
    return std::get<QStringList>(*answer);
}

std::optional<QString> ScriptedDialogService::openFile(QWidget*, const FileDialogRequest& request)
{
    asked.push_back({"openFile", request, {}, {}, {}});
    const auto paths = nextPaths();
    if (!paths || paths->isEmpty())
        return std::nullopt;
    return paths->constFirst();
}

std::optional<QStringList> ScriptedDialogService::openFiles(QWidget*, const FileDialogRequest& request)
{
    asked.push_back({"openFiles", request, {}, {}, {}});
    return nextPaths();
}

std::optional<QString> ScriptedDialogService::saveFile(QWidget*, const FileDialogRequest& request)
{
    asked.push_back({"saveFile", request, {}, {}, {}});
    const auto paths = nextPaths();
    if (!paths || paths->isEmpty())
        return std::nullopt;
    return paths->constFirst();
}

std::optional<QString> ScriptedDialogService::chooseDirectory(QWidget*, const QString& caption,
                                                              const QString& directory)
{
    FileDialogRequest request;
    request.directory = directory;
    asked.push_back({"chooseDirectory", request, caption, {}, {}});
    const auto paths = nextPaths();
    if (!paths || paths->isEmpty())
        return std::nullopt;
    return paths->constFirst();
}

std::optional<QString> ScriptedDialogService::chooseItem(QWidget*, const QString& caption, const QString& label,
                                                         const QStringList& items, const QString&)
{
    asked.push_back({"chooseItem", {}, caption, label, items});
    const auto paths = nextPaths();
    if (!paths || paths->isEmpty())
        return std::nullopt;
    return paths->constFirst();
}

bool ScriptedDialogService::nextPrinter(const QString& kind, QPrinter& printer)
{
    asked.push_back({kind, {}, {}, {}, {}});
    if (!next<PrinterChoice>())
        return false;
    const std::function<void(QPrinter&)> choose = std::move(printerChoices_.front());
    printerChoices_.pop_front();
    choose(printer);
    return true;
}

bool ScriptedDialogService::print(QWidget*, QPrinter& printer)
{
    return nextPrinter("print", printer);
}

bool ScriptedDialogService::printerSetup(QWidget*, QPrinter& printer)
{
    return nextPrinter("printerSetup", printer);
}

void ScriptedDialogService::showError(QWidget*, const QString& text)
{
    asked.push_back({"error", {}, {}, text, {}});
    errors.push_back(text);
}

void ScriptedDialogService::showInformation(QWidget*, const QString& caption, const QString& text)
{
    asked.push_back({"information", {}, caption, text, {}});
}

bool ScriptedDialogService::askYesNo(QWidget*, const QString& caption, const QString& text)
{
    asked.push_back({"question", {}, caption, text, {}});
    const std::optional<Answer> answer = next();
    return answer && std::holds_alternative<bool>(*answer) && std::get<bool>(*answer);
}
