#include "ui/NamedColourListModel.h"

#include <cstring>

namespace quillon {

QString NamedColourName(const NamedColour& colour)
{
    return QString::fromUtf8(colour.name, qsizetype(strnlen(colour.name, NamedColour::kNameSize)));
}

NamedColourListModel::NamedColourListModel(const std::vector<NamedColour>& colours, QObject* parent)
    : QAbstractListModel(parent), m_colours(colours)
{
}

int NamedColourListModel::rowCount(const QModelIndex& parent) const
{
    // The reader caps a list far below INT_MAX.
    return parent.isValid() ? 0 : int(m_colours.size());
}

QVariant NamedColourListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || std::size_t(index.row()) >= m_colours.size())
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    return NamedColourName(m_colours[std::size_t(index.row())]);
}

} // namespace quillon
