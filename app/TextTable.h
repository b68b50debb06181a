#pragma once
#include <vector>

#include <QByteArray>
#include <QString>

namespace quillon {

// One line of a text table in resources/: a key (string id or object name), English, French.
struct TextRow {
    QString key;
    QString english;
    QString french;
};

// Parses UTF-8 tab-separated lines "key<TAB>English<TAB>French". Lines starting with '#' and
// lines without two tabs are skipped; a missing French column falls back to nothing (empty).
// The escapes \t, \n and \\ are decoded in the texts so a table can hold multi-line texts.
std::vector<TextRow> ParseTextTable(const QByteArray& data);

// Reads a whole resource (":/...") or file; empty when it cannot be opened.
QByteArray ReadResource(const QString& path);

} // namespace quillon
