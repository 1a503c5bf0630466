// The texts of the help window's pages, in tab order.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

struct HelpEntry {
    QString title; // empty: a paragraph of its own
    QString text;
};

struct HelpPage {
    QString caption;
    std::vector<HelpEntry> entries;
};

const std::vector<HelpPage>& helpPages();
