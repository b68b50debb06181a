#include "app/TextTable.h"

#include <QFile>
#include <QList>

namespace quillon {
namespace {

QString Unescape(const QByteArray& raw)
{
    if (!raw.contains('\\'))
        return QString::fromUtf8(raw);
    QByteArray out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c != '\\' || i + 1 == raw.size()) {
            out.append(c);
            continue;
        }
        const char next = raw[++i];
        switch (next) {
        case 't': out.append('\t'); break;
        case 'n': out.append('\n'); break;
        case '\\': out.append('\\'); break;
        default: out.append('\\').append(next); break;
        }
    }
    return QString::fromUtf8(out);
}

} // namespace

std::vector<TextRow> ParseTextTable(const QByteArray& data)
{
    std::vector<TextRow> rows;
    for (QByteArray line : data.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> columns = line.split('\t');
        if (columns.size() < 2)
            continue;
        TextRow row;
        row.key = QString::fromUtf8(columns[0]).trimmed();
        row.english = Unescape(columns[1]);
        if (columns.size() > 2)
            row.french = Unescape(columns[2]);
        rows.push_back(std::move(row));
    }
    return rows;
}

QByteArray ReadResource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace quillon
