#pragma once
#include <span>
#include <vector>

#include <QString>
#include <QWidget>

#include "gamut/GamutSolid.h"
#include "profiles/NamedColours.h"

class QGridLayout;
class QLabel;

namespace quillon {

// "inside" or "outside by d" (d in dE*ab, two decimals, "." whatever the locale); empty
// when there is no verdict (a colour that is not finite, a shape without a net).
QString VerdictText(const InsideResult& result);

// "i of n inside" for a named-colour library.
QString NamedCountText(const NamedCount& count);

// The Lab values the probe places for these named colours, in the same order. Throws
// std::bad_alloc when memory runs out.
std::vector<LabValue> NamedColoursLab(std::span<const NamedColour> colours);

// Under the probe's controls: for each listed row, its number, the verdict for the probe
// colour and, while a named-colour library is chosen, how many of its colours lie inside.
class ProbeVerdictView : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRows = 4;

    explicit ProbeVerdictView(QWidget* parent = nullptr);

    // One verdict per listed row (at most kRows); counts empty when no library is chosen,
    // otherwise one per listed row.
    void Show(std::span<const InsideResult> verdicts, std::span<const NamedCount> counts);

private:
    QLabel* m_caption = nullptr;
    QLabel* m_numbers[kRows] = {};
    QLabel* m_verdicts[kRows] = {};
    QLabel* m_counts[kRows] = {};
};

} // namespace quillon
