#pragma once
#include <vector>

#include <QAbstractListModel>

#include "profiles/NamedColours.h"

namespace quillon {

// The colour combo's rows, read straight from the probe's colour list: choosing a library
// of tens of thousands of colours is one model reset, not one insertion per name.
class NamedColourListModel : public QAbstractListModel {
    Q_OBJECT
public:
    NamedColourListModel(const std::vector<NamedColour>& colours, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Brackets every change of the colour list, exceptions included.
    class Reset {
    public:
        explicit Reset(NamedColourListModel& model) : m_model(model) { m_model.beginResetModel(); }
        ~Reset() { m_model.endResetModel(); }
        Reset(const Reset&) = delete;
        Reset& operator=(const Reset&) = delete;

    private:
        NamedColourListModel& m_model;
    };

private:
    const std::vector<NamedColour>& m_colours;
};

// A colour's name as the combo shows it.
QString NamedColourName(const NamedColour& colour);

} // namespace quillon
